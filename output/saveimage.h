// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "output/export/imageexport.h"
#include "output/exporteditor.h"
#include "output/printsetupwindow.h"
#include "output/qualitywindow.h"
#include "output/statuswindow.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

namespace tessella {

class Dialogs;

// The tile editor's files entry "save image": the save dialog, the file type from the
// extension, the print area pulled on the editor at 50 % with the print setup window, the
// quality window for raster files, and the export pass with the status window. However it
// ends (written, cancelled, failed, refused) the editor gets its view back, redrawn.
class SaveImageCommand
{
public:
    using Exporter =
        std::function<ExportResult(const Document &, const ExportRequest &, ExportSink *)>;

    // `exporter` writes the file; the image export engine unless a test injects another.
    SaveImageCommand(ExportEditor &editor, Dialogs &dialogs, Exporter exporter = exportImage);
    ~SaveImageCommand();
    SaveImageCommand(const SaveImageCommand &) = delete;
    SaveImageCommand &operator=(const SaveImageCommand &) = delete;

    // The files entry. Does nothing while an export is under way.
    void saveImage();
    bool busy() const { return busy_; }

    // The editor's canvas pointer while it is lent (plane units): pulls the print area
    // until it is entered.
    void canvasPress(int button, double x, double y);
    void canvasMove(int buttons, double x, double y);
    void canvasRelease(int button, double x, double y);

    // `printPart`: the area was entered; metafiles and other vector files are exported
    // at once, raster files after the quality window.
    void printPart(PrintArea area);
    // `printFinis`: the export pass at the quality's zoom (ignored for vector files). The
    // windows run it from the event loop, after their own handlers have returned.
    void printFinis(int qualityZoom);

    const QString &imagePath() const { return imagePath_; }
    const AspectSettings &aspectSettings() const { return aspect_; }
    // The windows while they are open, for tests; null otherwise.
    PrintSetupWindow *printSetupWindow() const { return printSetup_.data(); }
    QualityWindow *qualityWindow() const { return quality_.data(); }
    StatusWindow *statusWindow() const { return status_.data(); }

private:
    void drawPull();
    void runLater(int qualityZoom);
    // Step 8 of the pass: the editor back, whatever happened.
    void finish();

    ExportEditor &editor_;
    Dialogs &dialogs_;
    Exporter exporter_;
    QString imagePath_;
    AspectSettings aspect_;
    ImageFormat format_ = ImageFormat::Jpeg;
    PrintArea area_;
    bool busy_ = false;
    QPointer<PrintSetupWindow> printSetup_;
    QPointer<QualityWindow> quality_;
    QPointer<StatusWindow> status_;
    QObject timerContext_; // queued passes die with the command
};

} // namespace tessella
