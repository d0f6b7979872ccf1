// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"

#include <QString>

#include <string>

namespace tessella {

class Dialogs;
class UndoHistory;

// What the file commands need from the tile editor window. The window implements it;
// tests use a recording fake.
class FilesHost
{
public:
    virtual ~FilesHost() = default;

    // The full redraw (`Form_Resize`).
    virtual void fullRedraw() = 0;
    // The "/" key: zoom 50 %, canvas back to its home position, caption updated.
    virtual void resetZoom() = 0;
    // Half the canvas extent in plane units (independent of the zoom).
    virtual double halfCanvasWidth() const = 0;
    virtual double halfCanvasHeight() const = 0;
    // The document was replaced by a load or cleared by "clear session": end any pointer
    // gesture and new-tile entry, set the grid list from doc.grid without running its
    // handler, set the transform button's caption from doc.xformOpen, refresh the undo
    // button from the undo history, and retake the fractal backup while its panel is open.
    virtual void documentReplaced() = 0;
    // `resetModes` of the window.
    virtual void resetModes() = 0;
    // The tile editor shows the fractal picture (`fractalRendered`).
    virtual bool fractalShown() const = 0;
    // The fractal panel's render command; while the picture is shown it restores the tiles.
    virtual void renderFractal() = 0;
    // The files entry "save image".
    virtual void saveImage() = 0;
    // Ends the application for real (closes the transform editor and the tile editor);
    // doc.closing is already set, so the window's close handler must not ask again.
    virtual void closeApplication() = 0;
    // The undo button's enabled state or caption changed.
    virtual void undoStateChanged() = 0;
    // A save while a transform is pending: the transform editor's current polygon and
    // chain are written into the document first. False stops the save.
    virtual bool storePendingTransform() { return true; }
};

// The entries of the files list ("load prims", "load state", "save state", ...), "clear
// session" and the close request, without widgets. Every message, question and file
// dialog goes through `Dialogs`.
class FileCommands
{
public:
    enum Entry {
        LoadPrims = 0,
        LoadState = 1,
        SaveState = 2,
        SaveImage = 3,
        Empty = 4,
        ClearSession = 5,
        Exit = 6,
        About = 7,
    };

    FileCommands(Document &doc, UndoHistory &undo, Dialogs &dialogs, FilesHost &host,
                 QString primsPath, QString executablePath);

    // Runs an entry of the files list (the window hides the list and ends pan mode first).
    // Unknown indices do nothing.
    void run(int entry);

    // The document named on the command line; the window then runs entry 1, which loads it
    // without showing the open dialog.
    void setCommandLineFile(const QString &path);

    // Each returns true when it did its work. A refusal, a cancelled question or dialog, or
    // a failure leaves the document, `docPath` and `dirty` as they were.
    bool loadPrims();
    bool loadState();
    // "load state" of a document chosen outside the open dialog (dropped on the window):
    // the same refusals, question and messages.
    bool loadStateFrom(const QString &path);
    bool saveState();
    // "clear session" (`cmdRevert_Click`): undoable.
    bool revertSession();
    // The close request (`Form_QueryUnload`). Returns true when the application may close,
    // and then sets doc.closing. Asks about unsaved edits only when `fromUser`.
    bool queryUnload(bool fromUser);

    // The about box: a few lines, the last one the running executable's full path.
    std::string aboutText() const;

    const QString &docPath() const { return docPath_; }
    void setDocPath(const QString &path) { docPath_ = path; }
    const QString &cmdFile() const { return cmdFile_; }
    bool cmdFilePending() const { return cmdFilePending_; }
    const QString &primsPath() const { return primsPath_; }

private:
    // After "Yes, save first": true when the caller may go on (the save succeeded).
    bool askToSaveFirst(const std::string &firstLine, const std::string &secondLine);
    // Reads `path` and runs the document loader; shows the failure message on failure.
    bool readAndLoad(const QString &path, bool prims);
    void afterSuccessfulLoad();
    void showLoadFailure(const std::string &message);

    Document &doc_;
    UndoHistory &undo_;
    Dialogs &dialogs_;
    FilesHost &host_;
    QString primsPath_;
    QString executablePath_;
    QString docPath_;
    QString cmdFile_;
    bool cmdFilePending_ = false;
};

} // namespace tessella
