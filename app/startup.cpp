// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/editorexport.h"
#include "app/fileassociationwindow.h"
#include "app/fractalwiring.h"
#include "app/termination.h"
#include "document/document.h"
#include "platform/apppaths.h"
#include "platform/qtdialogs.h"
#include "tileeditor/tileeditorwindow.h"
#include "transform/xformwindow.h"

#include <QApplication>
#include <QPointer>

#include <memory>
#include <optional>

namespace tessella {

int runEditor(QApplication &app, const QString &commandLineFile)
{
    Document doc;
    QtDialogs dialogs;
    const AppPaths paths = AppPaths::current();
    QPointer<FileAssociationWindow> association;

    EditorHooks hooks;
    hooks.offerFileAssociation = [&](const QString &cmdFile) {
        FileAssociationSetup setup = FileAssociationSetup::current();
        if (!shouldOfferAssociation(setup.marker.path, cmdFile))
            return;
        association = new FileAssociationWindow(dialogs, std::move(setup));
        association->setAttribute(Qt::WA_DeleteOnClose);
        association->show();
    };

    // The transform editor: created on a pick (or on "return to transform" after a load
    // with a pending transform), hidden by "return to tiles", deleted once it unloads.
    TileEditorWindow *editorWindow = nullptr;
    QPointer<XformWindow> xform;
    XformCallbacks xformCallbacks;
    xformCallbacks.handBack = [&](HandBack how) {
        TileEditorWindow &editor = *editorWindow;
        if (how == HandBack::Exit && editor.undoHistory().hasSnapshot())
            editor.undoHistory().setEnabled(true);
        editor.refreshTransformState();
        editor.requestHandBack();
        if (editor.isVisible())
            editor.Form_Activate();
        else
            editor.show(); // the activation appends xfReturn
        editor.raise();
        editor.activateWindow();
    };
    xformCallbacks.unloaded = [&] {
        // Forgotten at once, so a pick before the deletion opens a new window.
        if (XformWindow *window = xform.data()) {
            xform.clear();
            window->deleteLater();
        }
    };
    hooks.showTransformEditor = [&](std::optional<Vertex> displayCorner) {
        if (xform) {
            xform->show(); // hidden by "return to tiles": the chain is as it was
            xform->raise();
            xform->activateWindow();
            return;
        }
        auto *window = new XformWindow(doc, dialogs, xformCallbacks);
        // Only a chain restored from a file needs the display copy's place.
        if (!doc.xfResume)
            displayCorner.reset();
        if (!window->Form_Load(displayCorner)) {
            delete window;
            editorWindow->show();
            return;
        }
        xform = window;
        xform->show();
    };
    std::unique_ptr<EditorExport> imageExport;
    hooks.saveImage = [&] {
        if (imageExport)
            imageExport->command().saveImage();
    };
    hooks.closeTransformEditor = [&] {
        doc.closing = true;
        delete xform.data();
    };

    FractalState fractalState;
    FractalWiring fractal(fractalState, dialogs);
    hooks.fractal = &fractal;

    TileEditorWindow editor(doc, dialogs, paths, hooks);
    editorWindow = &editor;
    imageExport = std::make_unique<EditorExport>(editor, dialogs);
    fractal.setEditor(&editor);
    dialogs.setParent(&editor);
    editor.Form_Load(commandLineFile);
    closeOnTermination(&editor);
    editor.show();
    if (association)
        association->raise();
    const int status = app.exec();
    if (association)
        delete association;
    delete xform.data();
    imageExport.reset();
    return status;
}

} // namespace tessella
