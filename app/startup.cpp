// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/editorexport.h"
#include "app/editorsession.h"
#include "app/fileassociationwindow.h"
#include "app/fractalwiring.h"
#include "app/termination.h"
#include "document/document.h"
#include "platform/apppaths.h"
#include "platform/qtdialogs.h"
#include "tileeditor/tileeditorwindow.h"

#include <QApplication>
#include <QPointer>

#include <memory>

namespace tessella {

int runEditor(QApplication &app, const QString &commandLineFile)
{
    Document doc;
    QtDialogs dialogs;
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
    std::unique_ptr<EditorExport> imageExport;
    hooks.saveImage = [&] {
        if (imageExport)
            imageExport->command().saveImage();
    };
    FractalState fractalState;
    FractalWiring fractal(fractalState, dialogs);
    hooks.fractal = &fractal;

    EditorSession session(doc, dialogs, AppPaths::current(), std::move(hooks));
    TileEditorWindow &editor = session.tileEditor();
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
    imageExport.reset();
    return status;
}

} // namespace tessella
