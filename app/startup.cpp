// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/startup.h"

#include "app/editorsession.h"
#include "app/fileassociationwindow.h"
#include "app/termination.h"
#include "document/document.h"
#include "platform/apppaths.h"
#include "platform/qtdialogs.h"
#include "tileeditor/tileeditorwindow.h"

#include <QApplication>
#include <QPointer>

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

    EditorSession session(doc, dialogs, AppPaths::current(), std::move(hooks));
    TileEditorWindow &editor = session.tileEditor();
    dialogs.setParent(&editor);
    editor.Form_Load(commandLineFile);
    closeOnTermination(&editor);
    editor.show();
    if (association)
        association->raise();
    const int status = app.exec();
    if (association)
        delete association;
    return status;
}

} // namespace tessella
