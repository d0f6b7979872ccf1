// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fileassociationwindow.h"

#include "platform/apppaths.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessella {

FileAssociationSetup FileAssociationSetup::current()
{
    const AppPaths app = AppPaths::current();
    return FileAssociationSetup{AssociationPaths::current(app), markerLocation(app)};
}

bool shouldOfferAssociation(const QString &markerPath, const QString &commandLineDocument)
{
    return !markerExists(markerPath) && commandLineDocument.isEmpty();
}

FileAssociationWindow::FileAssociationWindow(Dialogs &dialogs, FileAssociationSetup setup,
                                             QWidget *parent)
    : QWidget(parent, Qt::Dialog), dialogs_(dialogs), setup_(std::move(setup))
{
    setObjectName(QStringLiteral("FileAssociationWindow"));
    setWindowTitle(QStringLiteral("file association"));

    Label1 = new QLabel(QStringLiteral("Would you like to register a file association") +
                            QLatin1Char('\n') + QStringLiteral("for *.mvl to this appication?"),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextFormat(Qt::PlainText);
    cmdYes = new QPushButton(QStringLiteral("yes"), this);
    cmdYes->setObjectName(QStringLiteral("cmdYes"));
    cmdNo = new QPushButton(QStringLiteral("No"), this);
    cmdNo->setObjectName(QStringLiteral("cmdNo"));
    ChkDontAsk = new QCheckBox(QStringLiteral("don't ask me again"), this);
    ChkDontAsk->setObjectName(QStringLiteral("ChkDontAsk"));

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(cmdYes);
    buttons->addWidget(cmdNo);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    layout->addWidget(ChkDontAsk);

    connect(cmdYes, &QPushButton::clicked, this, [this] { cmdYes_Click(); });
    connect(cmdNo, &QPushButton::clicked, this, [this] { cmdNo_Click(); });
    connect(ChkDontAsk, &QCheckBox::toggled, this, [this] { ChkDontAsk_Click(); });

    Form_Load();
}

void FileAssociationWindow::Form_Load()
{
    ChkDontAsk->setChecked(false);
    cmdYes->setEnabled(true);
}

void FileAssociationWindow::cmdYes_Click()
{
    const QStringList failures = registerFileType(setup_.association);
    if (failures.isEmpty()) {
        dialogs_.message("Associated the file extension .mvl with this application");
    } else {
        for (const QString &failure : failures) {
            dialogs_.message(failure.toStdString());
        }
    }
    const MarkerLocation &marker = setup_.marker;
    removeOtherMarkers(marker.dir(), marker.fileName(), marker.perUserDir);
    // A marker that cannot be written only means the question comes back next time.
    setSem(marker.path);
    close();
}

void FileAssociationWindow::cmdNo_Click()
{
    if (ChkDontAsk->isChecked()) {
        setSem(setup_.marker.path);
    }
    close();
}

void FileAssociationWindow::ChkDontAsk_Click()
{
    cmdYes->setEnabled(!ChkDontAsk->isChecked());
}

} // namespace tessella
