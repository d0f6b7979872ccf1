// SPDX-License-Identifier: GPL-3.0-or-later
#include "transform/xformwindow.h"

#include "transform/sketchwindow.h"
#include "transform/xformcanvas.h"
#include "transform/xformdrawer.h"
#include "transform/xformtips.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

namespace tessella {

namespace {

constexpr int kStripHeight = 64; // the two rows of controls above the surface
constexpr int kBarThickness = 16;
constexpr int kRowHeight = 26;
constexpr int kListRowHeight = 18;
const QColor kCountTextColour(96, 96, 0);

const QStringList kXformEntries = {"none",    "translate", "center rotation", "vertex rotation",
                                   "reflect", "unreflect", "glide reflection"};
const QStringList kViewEntries = {"curves",   "tile outline", "prompts",
                                  "boundary", "sketches",     "xform preview"};

} // namespace

XformWindow::XformWindow(Document &doc, Dialogs &dialogs, XformCallbacks callbacks, QWidget *parent)
    : QWidget(parent), doc_(doc), dialogs_(dialogs), callbacks_(std::move(callbacks)),
      xforms_(chain_, doc_, dialogs_, *this, work_), editor_(chain_, xforms_, doc_, dialogs_, *this)
{
    setObjectName("frmXform");
    setWindowTitle(QString::fromStdString(XformView::designCaption()));
    buildControls();
    resize(900, 700);
}

XformWindow::~XformWindow() = default;

QPushButton *XformWindow::makeButton(const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setFocusPolicy(Qt::NoFocus);
    button->installEventFilter(this);
    return button;
}

void XformWindow::buildControls()
{
    picBox = new XformCanvas(this);
    picBox->installEventFilter(this);
    picBox->onPress = [this](int b, double x, double y) { picBox_MouseDown(b, x, y); };
    picBox->onMove = [this](int b, double x, double y) { picBox_MouseMove(b, x, y); };
    picBox->onRelease = [this](int b, double x, double y) { picBox_MouseUp(b, x, y); };

    lblNotice = new QLabel(this);
    lblNotice->setObjectName("lblNotice");
    lblNotice->setTextFormat(Qt::PlainText);
    lblNotice->setAttribute(Qt::WA_TransparentForMouseEvents);
    hscPan = new QScrollBar(Qt::Horizontal, this);
    hscPan->setObjectName("hscPan");
    vscPan = new QScrollBar(Qt::Vertical, this);
    vscPan->setObjectName("vscPan");
    for (QScrollBar *bar : {hscPan, vscPan}) {
        bar->setSingleStep(XformView::kSmallStep);
        bar->setPageStep(XformView::kLargeStep);
        bar->hide();
    }
    connect(hscPan, &QScrollBar::valueChanged, this, [this](int v) { hscPan_Change(v); });
    connect(vscPan, &QScrollBar::valueChanged, this, [this](int v) { vscPan_Change(v); });

    cmdXforms = makeButton("cmdXforms", "transformations");
    cmdViews = makeButton("cmdViews", "view");
    cmdCurves = makeButton("cmdCurves", "curves");
    cmdClear = makeButton("cmdClear", "clear edge");
    cmdDoodle = makeButton("cmdDoodle", "sketch");
    cmdReturn = makeButton("cmdReturn", "return to tiles");
    cmdExit = makeButton("cmdExit", "exit");
    connect(cmdXforms, &QPushButton::clicked, this, [this] { cmdXforms_Click(); });
    connect(cmdViews, &QPushButton::clicked, this, [this] { cmdViews_Click(); });
    connect(cmdCurves, &QPushButton::clicked, this, [this] { cmdCurves_Click(); });
    connect(cmdClear, &QPushButton::clicked, this, [this] { cmdClear_Click(); });
    connect(cmdDoodle, &QPushButton::clicked, this, [this] { cmdDoodle_Click(); });
    connect(cmdReturn, &QPushButton::clicked, this, [this] { cmdReturn_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });

    lstXforms = new QListWidget(this);
    lstXforms->setObjectName("lstXforms");
    lstXforms->addItems(kXformEntries);
    lstXforms->installEventFilter(this);
    lstXforms->hide();
    connect(lstXforms, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { lstXforms_Click(lstXforms->row(item)); });

    lstViews = new QListWidget(this);
    lstViews->setObjectName("lstViews");
    lstViews->addItems(kViewEntries);
    lstViews->setSelectionMode(QAbstractItemView::MultiSelection);
    lstViews->installEventFilter(this);
    lstViews->hide();
    connect(lstViews, &QListWidget::itemClicked, this, [this] { lstViews_Click(); });

    hscnPoints = new QScrollBar(Qt::Horizontal, this);
    hscnPoints->setObjectName("hscnPoints");
    hscnPoints->setRange(2, 26);
    hscnPoints->setValue(2);
    hscnPoints->setSingleStep(1);
    hscnPoints->setPageStep(5);
    hscnPoints->hide();
    connect(hscnPoints, &QScrollBar::valueChanged, this, [this](int v) { hscnPoints_Change(v); });

    txtnPoints = new QLineEdit("# of line segments = 1", this);
    txtnPoints->setObjectName("txtnPoints");
    txtnPoints->setReadOnly(true);
    txtnPoints->hide();
    txtTotal = new QLineEdit(this);
    txtTotal->setObjectName("txtTotal");
    txtTotal->setReadOnly(true);
    for (QLineEdit *text : {txtnPoints, txtTotal}) {
        text->setFocusPolicy(Qt::NoFocus);
        text->installEventFilter(this);
        QPalette palette = text->palette();
        palette.setColor(QPalette::Text, kCountTextColour);
        text->setPalette(palette);
    }
    applyXformTips(this);
}

void XformWindow::layoutControls()
{
    int x = 4;
    for (auto [button, width] : {std::pair{cmdXforms, 120},
                                 {cmdViews, 60},
                                 {cmdCurves, 70},
                                 {cmdClear, 90},
                                 {cmdDoodle, 70},
                                 {cmdReturn, 120},
                                 {cmdExit, 60}}) {
        button->setGeometry(x, 4, width, kRowHeight);
        x += width + 4;
    }
    hscnPoints->setGeometry(4, 8 + kRowHeight, 160, kBarThickness + 4);
    txtnPoints->setGeometry(168, 6 + kRowHeight, 180, kRowHeight - 2);
    txtTotal->setGeometry(352, 6 + kRowHeight, 120, kRowHeight - 2);
    const int listHeight = 7 * kListRowHeight + 8;
    lstXforms->setGeometry(cmdXforms->x(), cmdXforms->y() + kRowHeight, 150, listHeight);
    lstViews->setGeometry(cmdViews->x(), cmdViews->y() + kRowHeight, 130, listHeight);
    lstXforms->raise();
    lstViews->raise();
}

QRect XformWindow::drawingRegion() const
{
    return QRect(0, kStripHeight, std::max(1, width() - kBarThickness),
                 std::max(1, height() - kStripHeight - kBarThickness));
}

bool XformWindow::Form_Load(std::optional<Vertex> displayVertex0)
{
    view_.resetZoom();
    windowTile_ = doc_.xfTile;
    work_.clear();
    bool opened = chain_.openFromTile(windowTile_, doc_.xfReflected != 0);
    // "none", and the first five view entries.
    showXformIndex(XformNone);
    xforms_.chooseTransformation(XformNone);
    for (int i = 0; i < lstViews->count(); ++i)
        lstViews->item(i)->setSelected(i <= ViewSketches);
    if (doc_.xfResume) {
        opened =
            chain_.restoreChain(doc_.nodeRecs, doc_.xfReflected != 0, displayVertex0) || opened;
        doc_.xfResume = kFalse;
    }
    if (!opened || chain_.empty())
        return false;
    loadSketches(doc_, windowTile_, chain_.firstNode->x, chain_.firstNode->y, work_);
    layoutControls();
    const QRect region = drawingRegion();
    view_.open(chain_.surfaceWidth, chain_.surfaceHeight, region.width(), region.height());
    lblNotice->setVisible(viewSelected(ViewPrompts));
    loaded_ = true;
    redraw();
    showTotal(chain_.countPoints());
    return true;
}

bool XformWindow::viewSelected(int entry) const
{
    const QListWidgetItem *item = lstViews->item(entry);
    return item && item->isSelected();
}

void XformWindow::redraw()
{
    if (!loaded_ || chain_.empty())
        return;
    alignScrolls();
    ImageSurface &surface = picBox->surface();
    XformDrawSettings settings;
    settings.curves = viewSelected(ViewCurves);
    settings.tileOutline = viewSelected(ViewTileOutline);
    settings.boundary = viewSelected(ViewBoundary);
    settings.sketches = viewSelected(ViewSketches);
    settings.curveMode = editor_.curveMode();
    settings.tileColour = windowTile_.color;
    settings.areaWidth = view_.areaWidth();
    settings.areaHeight = view_.areaHeight();
    const SketchWindow *tools = sketchWindow();
    drawXform(surface, chain_, work_.sketchItems, work_.sketchNext, settings,
              tools ? tools->tools().entering() : nullptr,
              tools ? tools->tools().regularPreview() : std::nullopt);
    if (tools)
        drawSketchOverlay(surface, tools->tools());
    picBox->update();
}

void XformWindow::alignScrolls()
{
    const QRect region = drawingRegion();
    layingOut_ = true;
    view_.alignScrolls(region.width(), region.height());
    const XformView::PanBar &h = view_.horizontalBar();
    const XformView::PanBar &v = view_.verticalBar();
    hscPan->setGeometry(0, height() - kBarThickness, region.width(), kBarThickness);
    vscPan->setGeometry(width() - kBarThickness, region.top(), kBarThickness, region.height());
    hscPan->setRange(0, h.maximum);
    hscPan->setValue(h.value);
    hscPan->setVisible(h.visible);
    vscPan->setRange(0, v.maximum);
    vscPan->setValue(v.value);
    vscPan->setVisible(v.visible);
    layingOut_ = false;
    placeCanvas();
    placeNotice();
}

void XformWindow::placeCanvas()
{
    const QRect region = drawingRegion();
    const QRect surface(view_.surfaceLeftPx(), view_.surfaceTopPx(),
                        static_cast<int>(std::ceil(view_.surfaceWidthPx())),
                        static_cast<int>(std::ceil(view_.surfaceHeightPx())));
    QRect shown = surface.intersected(QRect(0, 0, region.width(), region.height()));
    if (shown.isEmpty())
        shown = QRect(std::clamp(surface.left(), 0, region.width() - 1),
                      std::clamp(surface.top(), 0, region.height() - 1), 1, 1);
    picBox->setGeometry(shown.translated(region.topLeft()));
    picBox->setViewport(shown.topLeft() - surface.topLeft(), view_.zoomFactor());
}

void XformWindow::placeNotice()
{
    const QRect region = drawingRegion();
    const double zoom = view_.zoomFactor();
    lblNotice->adjustSize();
    lblNotice->move(region.left() + view_.surfaceLeftPx() +
                        static_cast<int>(view_.noticeX() * zoom),
                    region.top() + view_.surfaceTopPx() + static_cast<int>(view_.noticeY() * zoom));
    lblNotice->raise();
    lstXforms->raise();
    lstViews->raise();
}

void XformWindow::hscPan_Change(int value)
{
    if (layingOut_)
        return;
    view_.scrollHorizontal(value);
    redraw();
}

void XformWindow::vscPan_Change(int value)
{
    if (layingOut_)
        return;
    view_.scrollVertical(value);
    redraw();
}

void XformWindow::updateCaption()
{
    setWindowTitle(QString::fromStdString(view_.caption()));
}

bool XformWindow::form_KeyDown(int key)
{
    if (key != Qt::Key_Period && key != Qt::Key_Comma && key != Qt::Key_Slash)
        return false;
    // No zoom while a point or handle is dragged or a curve sketch is drawn.
    if (!loaded_ || editor_.dragging() || curveUnderway())
        return true;
    bool done = true;
    if (key == Qt::Key_Period)
        done = view_.zoomIn();
    else if (key == Qt::Key_Comma)
        done = view_.zoomOut();
    else
        view_.resetZoom();
    if (!done) {
        dialogs_.beep();
        return true;
    }
    updateCaption();
    view_.hideBars();
    hscPan->hide();
    vscPan->hide();
    redraw();
    return true;
}

void XformWindow::resizeEvent(QResizeEvent *)
{
    if (isMinimized() || width() <= 0 || height() <= 0)
        return;
    layoutControls();
    redraw();
}

void XformWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    picBox->setVisible(true);
    picBox->setEnabled(true);
    layoutControls();
    redraw();
}

void XformWindow::keyPressEvent(QKeyEvent *event)
{
    if (!form_KeyDown(event->key()))
        QWidget::keyPressEvent(event);
}

bool XformWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The zoom keys work whichever control has the focus.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (form_KeyDown(key) || (watched == lstXforms && lstXforms_KeyDown(key)))
            return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool XformWindow::lstXforms_KeyDown(int key)
{
    const int current = lstXforms->currentRow();
    const int last = lstXforms->count() - 1;
    int row = current;
    switch (key) {
    case Qt::Key_Up:
        row = std::max(0, current - 1);
        break;
    case Qt::Key_Down:
        row = std::min(last, current + 1);
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        row = 0;
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        row = last;
        break;
    default:
        return false;
    }
    // A new selection made with the keys is a choice, as a click is.
    if (row != current) {
        showXformIndex(row);
        lstXforms_Click(row);
    }
    return true;
}

void XformWindow::picBox_MouseDown(int button, double x, double y)
{
    if (SketchWindow *tools = sketchWindow()) {
        tools->surfaceDown(button, x, y);
        return;
    }
    if (button != 1 && button != 2)
        return;
    editor_.mouseDown(button == 1 ? PointerButton::Left : PointerButton::Right, x, y,
                      view_.hitRadius());
}

void XformWindow::picBox_MouseMove(int, double x, double y)
{
    if (SketchWindow *tools = sketchWindow()) {
        tools->surfaceMove(x, y);
        return;
    }
    if (editor_.dragging())
        editor_.mouseMove(x, y, viewSelected(ViewXformPreview));
}

void XformWindow::picBox_MouseUp(int button, double x, double y)
{
    if (SketchWindow *tools = sketchWindow()) {
        tools->surfaceUp(button, x, y);
        return;
    }
    if (button == 1 || button == 2)
        editor_.mouseUp();
}

} // namespace tessella
