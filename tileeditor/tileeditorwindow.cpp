// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/tileeditorwindow.h"

#include "tileeditor/canvaswidget.h"
#include "tileeditor/editortips.h"
#include "tileeditor/view/viewrenderer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessella {

namespace {

// Window layout in pixels; only the canvas rule (left of the panels + 80 twips, 480
// twips from the top) is fixed, the rest is ours.
constexpr int kFrameLeft = 4;
constexpr int kFrameWidth = 124;
constexpr int kFrameTop = 36;
constexpr int kFrameHeight = 232;
constexpr int kTopBarY = 3;
constexpr int kButtonHeight = 26;

const QStringList kTileItems = {"new tile",  "rotate -m", "reflect -r m",
                                "copy -m",   "move",      "recolor",
                                "vertex -m", "",          "delete"};
const QStringList kSelectItems = {"tile",       "all",    "none",       "invert",   "by color",
                                  "marquis -t", "vertex", "marquis -v", "no select"};
const QStringList kActionItems = {"rotate -m", "reflect -rm", "copy -m",
                                  "move",      "recolor",     "vertex -m",
                                  "",          "delete",      "no action"};
const QStringList kGridItems = {"", "rectangular", "center face", "hexagonal"};
const QStringList kViewItems = {"heavy", "lines", "fills", "sketches"};
const QStringList kFileItems = {"load prims", "load state",    "save state", "save image",
                                "",           "clear session", "exit",       "about"};

} // namespace

TileEditorWindow::TileEditorWindow(Document &doc, Dialogs &dialogs, AppPaths paths,
                                   EditorHooks hooks, QWidget *parent)
    : QWidget(parent), doc_(doc), dialogs_(dialogs), paths_(std::move(paths)),
      hooks_(std::move(hooks)), chip_({doc_, undo_, dialogs_, *this}),
      selection_({doc_, undo_, dialogs_, *this}), gestures_({doc_, undo_, dialogs_, *this}, chip_),
      newTile_({doc_, undo_, dialogs_, *this}, chip_),
      transformPick_({doc_, undo_, dialogs_, *this}, fractal_)
{
    setObjectName("frmTiles");
    setWindowTitle(QString::fromStdString(view_.caption()));
    files_ = std::make_unique<FileCommands>(doc_, undo_, dialogs_, *this, paths_.primitivesPath(),
                                            executablePath());
    buildControls();
    applyTileEditorTips(this);
    installShortcuts();
    setAcceptDrops(true);
    resize(1200, 800);
}

TileEditorWindow::~TileEditorWindow() = default;

QPushButton *TileEditorWindow::makeButton(const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->installEventFilter(this);
    return button;
}

QListWidget *TileEditorWindow::makeList(const char *name, const QStringList &items)
{
    auto *list = new QListWidget(this);
    list->setObjectName(name);
    list->addItems(items);
    list->setAccessibleName(name);
    list->installEventFilter(this);
    return list;
}

void TileEditorWindow::buildControls()
{
    picBox = new CanvasWidget(this);
    picBox->installEventFilter(this);
    picBox->onPress = [this](int b, double x, double y) {
        if (!locked_)
            picBox_MouseDown(b, x, y);
        else if (grab_.press)
            grab_.press(b, x, y);
    };
    picBox->onMove = [this](int b, double x, double y) {
        if (!locked_)
            picBox_MouseMove(b, x, y);
        else if (grab_.move)
            grab_.move(b, x, y);
    };
    picBox->onRelease = [this](int b, double x, double y) {
        if (!locked_)
            picBox_MouseUp(b, x, y);
        else if (grab_.release)
            grab_.release(b, x, y);
    };

    const char *frameTitles[3] = {"tile edit", "select", "group edit"};
    for (int i = 0; i < 3; ++i) {
        Frame1[i] = new QGroupBox(frameTitles[i], this);
        Frame1[i]->setObjectName("Frame1");
        Frame1[i]->setGeometry(kFrameLeft, kFrameTop + i * (kFrameHeight + 6), kFrameWidth,
                               kFrameHeight);
        new QVBoxLayout(Frame1[i]);
        Frame1[i]->layout()->setContentsMargins(4, 4, 4, 4);
    }
    cmdTiles = makeButton("cmdTiles", "tile");
    lstTiles = makeList("lstTiles", kTileItems);
    cmdSelect = makeButton("cmdSelect", "select");
    lstSelect = makeList("lstSelect", kSelectItems);
    cmdAction = makeButton("cmdAction", "group");
    lstAction = makeList("lstAction", kActionItems);
    QPushButton *panelButtons[3] = {cmdTiles, cmdSelect, cmdAction};
    QListWidget *panelLists[3] = {lstTiles, lstSelect, lstAction};
    for (int i = 0; i < 3; ++i) {
        panelButtons[i]->setParent(Frame1[i]);
        panelLists[i]->setParent(Frame1[i]);
        Frame1[i]->layout()->addWidget(panelButtons[i]);
        Frame1[i]->layout()->addWidget(panelLists[i]);
    }

    cmdGrids = makeButton("cmdGrids", "grids");
    lstGrids = makeList("lstGrids", kGridItems);
    cmdView = makeButton("cmdView", "view");
    lstViews = makeList("lstViews", kViewItems);
    lstViews->setSelectionMode(QAbstractItemView::MultiSelection);
    cmdFiles = makeButton("cmdFiles", "files");
    lstFiles = makeList("lstFiles", kFileItems);
    cmdPan = makeButton("cmdPan", "pan");
    cmdUnReDo = makeButton("cmdUnReDo", "undo");
    cmdRevert = makeButton("cmdRevert", "revert session");
    cmdXform = makeButton("cmdXform", "transform tile");
    cmdFrac = makeButton("cmdFrac", "fractal");

    picChip = new QLabel(this);
    picChip->setObjectName("picChip");
    picChip->setAccessibleName("picChip");
    picChip->setAccessibleDescription("Colour chip: the colour of new tiles");
    picChip->setFrameStyle(QFrame::Panel | QFrame::Raised);
    picChip->setAutoFillBackground(true);
    picChip->installEventFilter(this);
    lblRotval = new QLabel(this);
    lblRotval->setObjectName("lblRotval");
    lblRotval->setAccessibleName("lblRotval");
    lblRotval->setAccessibleDescription("Rotation angle readout");
    lblRotval->hide();
    pDest = new QLabel(this);
    pDest->setObjectName("pDest");
    pDest->hide();

    for (QListWidget *popup : {lstGrids, lstViews, lstFiles})
        popup->hide();

    connect(cmdTiles, &QPushButton::clicked, this, [this] { cmdTiles_Click(); });
    connect(cmdSelect, &QPushButton::clicked, this, [this] { cmdSelect_Click(); });
    connect(cmdAction, &QPushButton::clicked, this, [this] { cmdAction_Click(); });
    connect(cmdGrids, &QPushButton::clicked, this, [this] { cmdGrids_Click(); });
    connect(cmdView, &QPushButton::clicked, this, [this] { cmdView_Click(); });
    connect(cmdFiles, &QPushButton::clicked, this, [this] { cmdFiles_Click(); });
    connect(cmdPan, &QPushButton::clicked, this, [this] { cmdPan_Click(); });
    connect(cmdUnReDo, &QPushButton::clicked, this, [this] { cmdUnReDo_Click(); });
    connect(cmdRevert, &QPushButton::clicked, this, [this] { cmdRevert_Click(); });
    connect(cmdXform, &QPushButton::clicked, this, [this] { cmdXform_Click(); });
    connect(cmdFrac, &QPushButton::clicked, this, [this] { cmdFrac_Click(); });
    auto rowOf = [](QListWidget *list, QListWidgetItem *item) { return list->row(item); };
    connect(lstTiles, &QListWidget::itemClicked, this,
            [=, this](QListWidgetItem *it) { lstTiles_Click(rowOf(lstTiles, it)); });
    connect(lstSelect, &QListWidget::itemClicked, this,
            [=, this](QListWidgetItem *it) { lstSelect_Click(rowOf(lstSelect, it)); });
    connect(lstAction, &QListWidget::itemClicked, this,
            [=, this](QListWidgetItem *it) { lstAction_Click(rowOf(lstAction, it)); });
    connect(lstGrids, &QListWidget::itemClicked, this,
            [=, this](QListWidgetItem *it) { lstGrids_Click(rowOf(lstGrids, it)); });
    connect(lstViews, &QListWidget::itemClicked, this, [this] { lstViews_Click(); });
    connect(lstFiles, &QListWidget::itemClicked, this,
            [=, this](QListWidgetItem *it) { lstFiles_Click(rowOf(lstFiles, it)); });
}

void TileEditorWindow::layoutControls()
{
    const int picLeftPx = static_cast<int>(view_.picLeft()) / kTwipsPerPixel;
    int x = picLeftPx;
    auto place = [&](QWidget *w, int width) {
        w->setGeometry(x, kTopBarY, width, kButtonHeight);
        x += width + 4;
    };
    place(cmdGrids, 60);
    place(cmdView, 60);
    place(cmdFiles, 60);
    place(cmdPan, 50);
    place(cmdUnReDo, 60);
    place(cmdRevert, 110);
    place(cmdXform, 140);
    place(cmdFrac, 80);
    place(picChip, 40);
    const int canvasTopPx = static_cast<int>(kCanvasTopTwips) / kTwipsPerPixel;
    picBox->setGeometry(picLeftPx, canvasTopPx, std::max(1, width() - picLeftPx),
                        std::max(1, height() - canvasTopPx));
    picBox->lower();
}

void TileEditorWindow::showPopup(QListWidget *list, QPushButton *under)
{
    const int rows = list->count();
    const int rowHeight = std::max(16, list->sizeHintForRow(0));
    list->setGeometry(under->x(), under->y() + under->height(), 140, rows * rowHeight + 6);
    list->show();
    list->raise();
}

void TileEditorWindow::Form_Load(const QString &commandLineFile)
{
    // Tables start empty (the document's own defaults), the grid at "rectangular".
    lstGrids->setCurrentRow(GridRectangular);
    curGrid_ = GridRectangular;
    doc_.grid = curGrid_;
    for (int i : {1, 2, 3})
        lstViews->item(i)->setSelected(true);
    prevLines_ = true;
    showChip();
    undoStateChanged();
    Form_Resize();
    resetModes();
    doc_.dirty = false;
    loaded_ = true;
    if (hooks_.offerFileAssociation)
        hooks_.offerFileAssociation(commandLineFile);
    if (!commandLineFile.isEmpty()) {
        files_->setCommandLineFile(commandLineFile);
        files_->run(FileCommands::LoadState);
    }
}

void TileEditorWindow::Form_Activate()
{
    if (skipActivate_) {
        skipActivate_ = false;
        return;
    }
    // A hand-back during an export waits until the export has given the editor back.
    if (!handBackPending_ || locked_)
        return;
    handBackPending_ = false;
    // The returned tile joins the real tiles, not a mapped picture.
    if (fractalShown())
        renderFractal();
    if (!doc_.appendTile(doc_.xfReturn)) {
        dialogs_.message("too many tiles");
        return;
    }
    const auto appended = static_cast<int16_t>(doc_.tileCount() - 1);
    if (handBackIsDisplayCopy_) {
        handBackIsDisplayCopy_ = false;
        doc_.curTile = appended;
        doc_.xfEditorOnly = false;
    } else if (doc_.displayCopy() < 0) {
        // The start-up tile leaves a loaded pending transform's display copy current.
        doc_.curTile = appended;
    }
    if (doc_.dirty)
        resetModes();
    if (!fractalShown())
        Form_Resize();
}

void TileEditorWindow::takeHandBack(HandBack how)
{
    // The pick disabled undo until the transform is over.
    if (how == HandBack::Exit && undo_.hasSnapshot())
        undo_.setEnabled(true);
    if (how == HandBack::Exit)
        doc_.xfEditorOnly = false;
    refreshTransformState();
    handBackPending_ = true;
    handBackIsDisplayCopy_ = how == HandBack::Return;
    if (isVisible())
        Form_Activate();
    else
        show(); // its activation appends the polygon
    raise();
    activateWindow();
}

std::vector<std::vector<Tile> *> TileEditorWindow::snapshotTables()
{
    return {&undo_.snapshotTilesForUpdate(), &fractal_.tilesForUpdate()};
}

bool TileEditorWindow::storePendingTransform()
{
    return !hooks_.writeBackTransform || hooks_.writeBackTransform();
}

void TileEditorWindow::Form_Resize()
{
    const int lineWidth = lineWidth_;
    const double picLeftTwips = (kFrameLeft + kFrameWidth) * kTwipsPerPixel + 80;
    view_.setWindow(width(), height(), picLeftTwips);
    layoutControls();
    const int picLeftPx = static_cast<int>(picLeftTwips) / kTwipsPerPixel;
    const int canvasTopPx = static_cast<int>(kCanvasTopTwips) / kTwipsPerPixel;
    picBox->setViewport(QPoint(picLeftPx - view_.canvasLeftPx(), canvasTopPx - view_.canvasTopPx()),
                        view_.zoom());

    const DrawSettings settings = drawSettings();
    ViewFrame frame;
    frame.extentWidth = view_.extentWidth();
    frame.extentHeight = view_.extentHeight();
    frame.lineWidth = lineWidth;
    frame.newPts = newTile_.newPts();
    frame.newCount = newTile_.newCount();
    picBox->surface().setPenWidth(lineWidth);
    if (fractalShown()) {
        const double w = frame.extentWidth, h = frame.extentHeight;
        frame.picture = [this, w, h](TilingDrawer &drawer) {
            hooks_.fractal->drawPicture(drawer, w, h);
        };
    }
    renderView(picBox->surface(), doc_, settings, frame);
    if (fractalPanelOpen())
        hooks_.fractal->drawOverlay(picBox->surface());
    tileBoxes_.rebuild(doc_, curGrid_);
    picBox->update();
}

void TileEditorWindow::resizeEvent(QResizeEvent *)
{
    // A minimised or empty window keeps its canvas as it was.
    if (isMinimized() || width() <= 0 || height() <= 0)
        return;
    Form_Resize();
}

void TileEditorWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Form_Activate();
}

void TileEditorWindow::closeEvent(QCloseEvent *event)
{
    // An export under way ends first; it always gives the editor back.
    if (locked_ && !closeEndsLock_ && !doc_.closing) {
        event->ignore();
        return;
    }
    if (closeApproved_ || doc_.closing || files_->queryUnload(true)) {
        doc_.closing = true;
        if (hooks_.closeTransformEditor)
            hooks_.closeTransformEditor();
        event->accept();
        QCoreApplication::quit();
        return;
    }
    event->ignore();
}

void TileEditorWindow::closeApplication()
{
    closeApproved_ = true;
    close();
}

bool TileEditorWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Like a form that previews keys: the zoom keys and the space bar work whichever
    // control has the focus.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (form_KeyDown(key->key()))
            return true;
    } else if (event->type() == QEvent::KeyRelease) {
        if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
            Form_KeyUp();
    } else if (watched == picChip && event->type() == QEvent::MouseButtonPress) {
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        picChip_MouseDown(button == Qt::RightButton ? 2 : button == Qt::LeftButton ? 1 : 4);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TileEditorWindow::keyPressEvent(QKeyEvent *event)
{
    if (!form_KeyDown(event->key()))
        QWidget::keyPressEvent(event);
}

void TileEditorWindow::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        Form_KeyUp();
}

bool TileEditorWindow::form_KeyDown(int key)
{
    if (locked_)
        return true;
    PlaneView::KeyResult result = PlaneView::KeyResult::Redraw;
    switch (key) {
    case Qt::Key_Period:
        result = view_.zoomIn();
        break;
    case Qt::Key_Comma:
        result = view_.zoomOut();
        break;
    case Qt::Key_Slash:
        view_.reset();
        break;
    case Qt::Key_Space:
        spaceDown_ = true;
        break;
    default:
        // Every other key redraws too, and leaves the key to the focused control.
        applyLineWidth();
        Form_Resize();
        return false;
    }
    if (result == PlaneView::KeyResult::Refused) {
        dialogs_.beep();
        return true;
    }
    setWindowTitle(QString::fromStdString(view_.caption()));
    applyLineWidth();
    Form_Resize();
    return true;
}

void TileEditorWindow::Form_KeyUp()
{
    spaceDown_ = false;
}

void TileEditorWindow::applyLineWidth()
{
    lineWidth_ = view_.lineWidth(viewSelected(0));
}

bool TileEditorWindow::viewSelected(int index) const
{
    const QListWidgetItem *item = lstViews->item(index);
    return item && item->isSelected();
}

void TileEditorWindow::resetZoom()
{
    view_.reset();
    setWindowTitle(QString::fromStdString(view_.caption()));
    applyLineWidth();
}

double TileEditorWindow::halfCanvasWidth() const
{
    return view_.extentWidth() / 2;
}

double TileEditorWindow::halfCanvasHeight() const
{
    return view_.extentHeight() / 2;
}

void TileEditorWindow::documentReplaced()
{
    // Nothing of a gesture may outlive the tiles it named.
    newTile_.reset();
    gestures_.abandon();
    selection_.cancelMarquee();
    hideRotationLabel();
    pickForTransform_ = false;
    rightPan_ = false;
    lstGrids->setCurrentRow(doc_.grid);
    curGrid_ = doc_.grid;
    refreshTransformState();
    if (hooks_.fractal)
        hooks_.fractal->documentReplaced();
}

void TileEditorWindow::refreshTransformState()
{
    cmdXform->setText(doc_.xformOpen ? "return to transform" : "transform tile");
    undoStateChanged();
}

bool TileEditorWindow::fractalShown() const
{
    return hooks_.fractal && hooks_.fractal->renderingShown();
}

bool TileEditorWindow::fractalPanelOpen() const
{
    return hooks_.fractal && hooks_.fractal->panelOpen();
}

void TileEditorWindow::renderFractal()
{
    if (hooks_.fractal)
        hooks_.fractal->restoreRendering();
}

FractalLink::Scene TileEditorWindow::fractalExportScene(double left, double top, double width,
                                                        double height) const
{
    return hooks_.fractal ? hooks_.fractal->exportScene(left, top, width, height)
                          : FractalLink::Scene{};
}

void TileEditorWindow::saveView(int slot)
{
    if (slot >= 0 && slot < 2)
        savedViews_[slot] = view_;
}

void TileEditorWindow::restoreView(int slot)
{
    if (slot < 0 || slot >= 2 || !savedViews_[slot])
        return;
    view_ = *savedViews_[slot];
    setWindowTitle(QString::fromStdString(view_.caption()));
    applyLineWidth();
}

void TileEditorWindow::resetZoomKey()
{
    form_KeyDown(Qt::Key_Slash);
}

void TileEditorWindow::setFractalCaption(const QString &caption)
{
    cmdFrac->setText(caption);
}

void TileEditorWindow::redrawOverlay()
{
    Surface &surface = picBox->surface();
    surface.clear();
    if (fractalPanelOpen())
        hooks_.fractal->drawOverlay(surface);
    picBox->update();
}

void TileEditorWindow::setSkeleton(bool on)
{
    const QSignalBlocker blocker(lstViews);
    lstViews->item(2)->setSelected(!on);
    lstViews->item(3)->setSelected(!on);
}

void TileEditorWindow::saveImage()
{
    if (hooks_.saveImage)
        hooks_.saveImage();
}

void TileEditorWindow::undoStateChanged()
{
    cmdUnReDo->setEnabled(undo_.enabled());
    cmdUnReDo->setText(QString::fromStdString(undo_.caption()));
}

} // namespace tessella
