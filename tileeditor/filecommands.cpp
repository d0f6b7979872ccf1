// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/filecommands.h"

#include "document/compaction.h"
#include "document/documentfile.h"
#include "document/undo.h"
#include "platform/dialogs.h"
#include "platform/fileio.h"

#include <QDir>
#include <QFileInfo>

#include <span>
#include <utility>

namespace tessella {

namespace {

constexpr const char *kSaveFirstLine = "do you want to save your edits first?";
constexpr const char *kSaveEditsText = "Do you want to save your edits?";

FileDialogOptions mvlDialog(const char *title, const QString &docPath, bool save)
{
    FileDialogOptions options;
    options.title = title;
    options.filter = "Files (*.mvl)|*.mvl";
    options.defaultExtension = "mvl";
    options.initialFile = docPath.toStdString();
    options.mustExist = true;
    options.confirmOverwrite = save;
    return options;
}

std::string shownPath(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

std::span<const uint8_t> byteSpan(const QByteArray &bytes)
{
    return {reinterpret_cast<const uint8_t *>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())};
}

} // namespace

FileCommands::FileCommands(Document &doc, UndoHistory &undo, Dialogs &dialogs, FilesHost &host,
                           QString primsPath, QString executablePath)
    : doc_(doc), undo_(undo), dialogs_(dialogs), host_(host), primsPath_(std::move(primsPath)),
      executablePath_(std::move(executablePath))
{}

void FileCommands::run(int entry)
{
    switch (entry) {
    case LoadPrims:
        loadPrims();
        break;
    case LoadState:
        loadState();
        break;
    case SaveState:
        saveState();
        break;
    case SaveImage:
        host_.saveImage();
        break;
    case ClearSession:
        revertSession();
        break;
    case Exit:
        if (queryUnload(true))
            host_.closeApplication();
        break;
    case About:
        dialogs_.message(aboutText());
        break;
    default:
        break;
    }
}

void FileCommands::setCommandLineFile(const QString &path)
{
    cmdFile_ = path;
    cmdFilePending_ = true;
}

bool FileCommands::askToSaveFirst(const std::string &firstLine, const std::string &secondLine)
{
    if (!doc_.dirty)
        return true;
    switch (dialogs_.askYesNoCancel(firstLine, secondLine)) {
    case Answer::Cancel:
        return false;
    case Answer::No:
        return true;
    case Answer::Yes:
        // A cancelled or failed save must not be followed by discarding the edits.
        saveState();
        return !doc_.dirty;
    }
    return false;
}

void FileCommands::showLoadFailure(const std::string &message)
{
    // The message starts with the header bytes from the file.
    dialogs_.message(latin1ToUtf8(message));
    host_.fullRedraw();
}

void FileCommands::afterSuccessfulLoad()
{
    // The old snapshot holds another document's tiles.
    undo_.reset();
    host_.documentReplaced();
    host_.undoStateChanged();
}

bool FileCommands::loadPrims()
{
    // The pending polygon's display copy would be replaced by library tiles.
    if (doc_.xformOpen) {
        dialogs_.message(kCloseTransformFirstText);
        return false;
    }
    if (!askToSaveFirst("Loading primitives will overwrite your edits", kSaveFirstLine))
        return false;
    if (!QFileInfo::exists(primsPath_)) {
        dialogs_.message("could not find primitives.mvl");
        return false;
    }
    // The shown picture holds mapped vertices; the library must replace the real tiles.
    if (host_.fractalShown())
        host_.renderFractal();

    const ReadFileResult file = readRegularFile(primsPath_);
    if (!file.ok) {
        showLoadFailure(kLoadErrorText);
        return false;
    }
    const LoadReport report = tessella::loadPrims(doc_, byteSpan(file.bytes));
    if (!report.ok) {
        showLoadFailure(report.message);
        return false;
    }
    afterSuccessfulLoad();
    host_.fullRedraw();
    return true;
}

bool FileCommands::loadState()
{
    return loadStateFrom(QString());
}

bool FileCommands::loadStateFrom(const QString &given)
{
    if (doc_.xformOpen) {
        dialogs_.message(kCloseTransformFirstText);
        return false;
    }
    if (!askToSaveFirst("Loading new state will overwrite your edits", kSaveFirstLine))
        return false;

    // docPath changes only once the file has loaded.
    QString path = given;
    if (path.isEmpty() && cmdFilePending_) {
        path = cmdFile_;
        cmdFilePending_ = false;
    } else if (path.isEmpty()) {
        const auto chosen = dialogs_.openFile(mvlDialog("Load .mvl File", docPath_, false));
        if (!chosen)
            return false;
        path = QString::fromStdString(*chosen);
    }

    if (host_.fractalShown())
        host_.renderFractal();

    const ReadFileResult file = readRegularFile(path);
    if (!file.ok) {
        showLoadFailure(kLoadErrorText);
        return false;
    }
    const LoadReport report = tessella::loadState(
        doc_, byteSpan(file.bytes), host_.halfCanvasWidth(), host_.halfCanvasHeight());
    if (!report.ok) {
        showLoadFailure(report.message);
        return false;
    }
    docPath_ = path;
    const bool foreign = report.kind == HeaderKind::ForeignG || report.kind == HeaderKind::ForeignH;
    if (foreign)
        host_.resetZoom();
    afterSuccessfulLoad();
    host_.fullRedraw();
    if (foreign && docPath_ != cmdFile_) {
        const std::string status = latin1ToUtf8(report.statusText);
        dialogs_.message(status + "   " + status + "\n" + shownPath(docPath_));
    }
    return true;
}

bool FileCommands::saveState()
{
    const auto chosen = dialogs_.saveFile(mvlDialog("Save .mvl File", docPath_, true));
    if (!chosen)
        return false;
    const QString path = QString::fromStdString(*chosen);

    // The polygon in the transform editor is saved as it is now, not as last handed back.
    if (doc_.xformOpen && !host_.storePendingTransform()) {
        dialogs_.message("file not saved");
        return false;
    }

    // A shown fractal picture holds mapped vertices: save the real tiles.
    if (host_.fractalShown())
        host_.renderFractal();

    const auto bytes = tessella::saveState(doc_);
    if (!bytes ||
        !writeFileAtomically(path, QByteArray(reinterpret_cast<const char *>(bytes->data()),
                                              static_cast<qsizetype>(bytes->size())))) {
        dialogs_.message("file not saved");
        return false;
    }
    docPath_ = path;
    dialogs_.message("saved as:\n" + shownPath(docPath_));
    doc_.dirty = false;
    return true;
}

bool FileCommands::revertSession()
{
    if (doc_.xformOpen) {
        dialogs_.message("please exit the transformation editor before clearing your session");
        return false;
    }
    if (!askToSaveFirst(kSaveEditsText, std::string()))
        return false;
    // Clear the real tiles, not the mapped copy of a shown fractal picture.
    if (host_.fractalShown())
        host_.renderFractal();

    undo_.tBackup(doc_);
    for (Tile &t : doc_.tiles)
        t.deleted = kTrue;
    compresT(doc_);
    doc_.xfResume = kFalse;

    host_.documentReplaced();
    host_.undoStateChanged();
    host_.resetModes();
    host_.fullRedraw();
    doc_.dirty = false;
    return true;
}

bool FileCommands::queryUnload(bool fromUser)
{
    if (fromUser && doc_.dirty) {
        switch (dialogs_.askYesNoCancel(kSaveEditsText, std::string())) {
        case Answer::Cancel:
            return false;
        case Answer::Yes:
            // Closing after a cancelled or failed save would lose the edits.
            if (!saveState() || doc_.dirty)
                return false;
            break;
        case Answer::No:
            break;
        }
    }
    doc_.closing = true;
    return true;
}

std::string FileCommands::aboutText() const
{
    return "Tessella\n"
           "A designer for periodic tilings of the plane.\n"
           "Licensed under the GNU General Public License, version 3 or later.\n"
           "\n" +
           shownPath(executablePath_);
}

} // namespace tessella
