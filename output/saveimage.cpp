// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/saveimage.h"

#include "output/qualitywindow.h"
#include "output/statuswindow.h"
#include "platform/dialogs.h"
#include "tileeditor/view/tilingdrawer.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace tessella {

namespace {

const char kImageFilter[] = "Bitmap (*.bmp)|*.bmp|JPEG (*.jpg)|*.jpg|Enhanced Metafile "
                            "(*.emf)|*.emf|Windows Metafile (*.wmf)|*.wmf|PNG (*.png)|*.png|"
                            "SVG (*.svg)|*.svg|PDF (*.pdf)|*.pdf";

// While the pass lets window events run, only the status window may act: every other
// window (the editor, the transform editor, panels) is disabled for the duration, as the
// bands are drawn from the document on other threads meanwhile.
class OtherWindowsDisabled
{
public:
    explicit OtherWindowsDisabled(const QWidget *keep)
    {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w != keep && w->isEnabled()) {
                w->setEnabled(false);
                disabled_.emplace_back(w);
            }
    }
    ~OtherWindowsDisabled()
    {
        for (const QPointer<QWidget> &w : disabled_)
            if (w)
                w->setEnabled(true);
    }

private:
    std::vector<QPointer<QWidget>> disabled_;
};

template <class W> void dispose(QPointer<W> &window)
{
    if (W *w = window.data()) {
        window.clear();
        w->hide();
        w->deleteLater();
    }
}

} // namespace

SaveImageCommand::SaveImageCommand(ExportEditor &editor, Dialogs &dialogs, Exporter exporter)
    : editor_(editor), dialogs_(dialogs), exporter_(std::move(exporter))
{}

SaveImageCommand::~SaveImageCommand()
{
    delete printSetup_.data();
    delete quality_.data();
    delete status_.data();
}

void SaveImageCommand::saveImage()
{
    if (busy_)
        return;
    FileDialogOptions options;
    options.title = "save image";
    options.filter = kImageFilter;
    options.defaultExtension = "jpg";
    options.initialFile = imagePath_.toStdString();
    options.mustExist = true;
    options.confirmOverwrite = true;
    // A cancelled dialog stops here: nothing is deleted, nothing is started.
    const std::optional<std::string> chosen = dialogs_.saveFile(options);
    if (!chosen)
        return;
    imagePath_ = QString::fromStdString(*chosen);
    const std::optional<ImageFormat> format = classifyImagePath(imagePath_);
    if (!format) {
        dialogs_.message(unrecognizedTypeMessage(imagePath_).toStdString());
        return;
    }
    format_ = *format;

    busy_ = true;
    editor_.lend();
    printSetup_ = new PrintSetupWindow(dialogs_, aspect_);
    printSetup_->setAttribute(Qt::WA_DeleteOnClose);
    printSetup_->onEnter = [this](PrintArea area) { printPart(area); };
    printSetup_->show();
}

void SaveImageCommand::canvasPress(int button, double x, double y)
{
    if (button != 1 || !printSetup_ || printSetup_->entered())
        return;
    printSetup_->pull().press(x, y);
    drawPull();
}

void SaveImageCommand::canvasMove(int buttons, double x, double y)
{
    if (!(buttons & 1) || !printSetup_ || !printSetup_->pull().pulling())
        return;
    printSetup_->pull().move(x, y);
    drawPull();
}

void SaveImageCommand::canvasRelease(int button, double x, double y)
{
    if (button != 1 || !printSetup_ || !printSetup_->pull().pulling())
        return;
    printSetup_->pull().release(x, y);
    drawPull();
}

void SaveImageCommand::drawPull()
{
    // A thin outline on the transient layer, over the tiling drawn at 50 %.
    const AreaPull &pull = printSetup_->pull();
    Surface &canvas = editor_.canvas();
    canvas.clear();
    const int width = canvas.penWidth();
    const bool dashed = canvas.dashed();
    canvas.setPenWidth(1);
    canvas.setDashed(false);
    const double x1 = pull.anchorX(), y1 = pull.anchorY();
    const double x2 = pull.cornerX(), y2 = pull.cornerY();
    canvas.line(x1, y1, x2, y1, kRed);
    canvas.line(x2, y1, x2, y2, kRed);
    canvas.line(x2, y2, x1, y2, kRed);
    canvas.line(x1, y2, x1, y1, kRed);
    canvas.setPenWidth(width);
    canvas.setDashed(dashed);
    editor_.canvasChanged();
}

void SaveImageCommand::printPart(PrintArea area)
{
    area_ = area;
    printSetup_.clear(); // it closed itself and is deleted on close
    if (!isRasterFormat(format_)) {
        runLater(2);
        return;
    }
    quality_ = new QualityWindow;
    quality_->onOK = [this](int zoom) { runLater(zoom); };
    // Closing the window without "OK" ends the export like a cancel.
    quality_->onCancel = [this] { finish(); };
    quality_->show();
}

void SaveImageCommand::runLater(int qualityZoom)
{
    // The pass lets window events run for a long time: not inside a window's handler.
    QTimer::singleShot(0, &timerContext_, [this, qualityZoom] { printFinis(qualityZoom); });
}

void SaveImageCommand::printFinis(int qualityZoom)
{
    if (!busy_)
        return;
    dispose(quality_);

    ExportRequest request;
    request.path = imagePath_;
    request.format = format_;
    request.area = area_;
    request.qualityZoom = qualityZoom;
    request.heavy = editor_.heavy();
    request.settings = editor_.drawSettings();
    request.scene = editor_.scene(area_);

    status_ = new StatusWindow;
    status_->show();
    ExportResult result;
    {
        const OtherWindowsDisabled guard(status_.data());
        result = exporter_(editor_.document(), request, status_.data());
    }
    dispose(status_);
    if (result.written())
        dialogs_.message(savedAsMessage(imagePath_).toStdString());
    else if (result.status != ExportResult::Status::Cancelled)
        dialogs_.message(result.message.toStdString());
    finish();
}

void SaveImageCommand::finish()
{
    if (!busy_)
        return;
    dispose(quality_);
    dispose(status_);
    busy_ = false;
    editor_.giveBack();
}

} // namespace tessella
