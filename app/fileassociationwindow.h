// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/fileassociation.h"
#include "platform/markerfile.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;

namespace tessella {

class Dialogs;

// Everything the association window acts on.
struct FileAssociationSetup
{
    AssociationPaths association;
    MarkerLocation marker;

    // The running program's paths.
    static FileAssociationSetup current();
};

// Whether start-up offers the association: the marker is missing and no document was named
// on the command line.
bool shouldOfferAssociation(const QString &markerPath, const QString &commandLineDocument);

// The "file association" window: asks once whether ".mvl" files should open with this
// program. Modeless; it deletes itself when closed only if the caller sets
// Qt::WA_DeleteOnClose. Every message goes through `dialogs`, which must outlive the window.
class FileAssociationWindow : public QWidget
{
    Q_OBJECT

public:
    FileAssociationWindow(Dialogs &dialogs, FileAssociationSetup setup, QWidget *parent = nullptr);

    QLabel *Label1 = nullptr;
    QPushButton *cmdYes = nullptr;
    QPushButton *cmdNo = nullptr;
    QCheckBox *ChkDontAsk = nullptr;

    void Form_Load();
    // Registers the association, reports the outcome, leaves the marker and closes.
    void cmdYes_Click();
    // Leaves the marker only when "don't ask me again" is ticked; closes.
    void cmdNo_Click();
    // "yes" is unavailable while "don't ask me again" is ticked.
    void ChkDontAsk_Click();

    const FileAssociationSetup &setup() const { return setup_; }

private:
    Dialogs &dialogs_;
    FileAssociationSetup setup_;
};

} // namespace tessella
