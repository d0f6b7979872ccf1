// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's desktop conventions: the standard shortcuts and dropped documents.
#include "tileeditor/tileeditorwindow.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextEdit>
#include <QUrl>

namespace tessella {

namespace {

// Typing keeps its keys: Ctrl+Z undoes the typing, not an edit of the tiles.
bool isTextBox(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) ||
           qobject_cast<const QAbstractSpinBox *>(widget) ||
           qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget);
}

// The one local ".mvl" file a drop carries; empty for anything else.
QString droppedDocument(const QMimeData *mime)
{
    if (!mime || !mime->hasUrls() || mime->urls().size() != 1)
        return {};
    const QUrl url = mime->urls().front();
    if (!url.isLocalFile())
        return {};
    const QFileInfo file(url.toLocalFile());
    if (!file.isFile() || file.suffix().compare(QLatin1String("mvl"), Qt::CaseInsensitive) != 0)
        return {};
    return file.absoluteFilePath();
}

} // namespace

void TileEditorWindow::installShortcuts()
{
    struct Command
    {
        QKeySequence::StandardKey key;
        QKeyCombination fallback; // for a desktop that binds no key to it (Quit on some)
        std::function<void()> run;
    };
    const Command commands[] = {
        {QKeySequence::Open, Qt::CTRL | Qt::Key_O,
         [this] { lstFiles_Click(FileCommands::LoadState); }},
        {QKeySequence::Save, Qt::CTRL | Qt::Key_S,
         [this] { lstFiles_Click(FileCommands::SaveState); }},
        {QKeySequence::Undo, Qt::CTRL | Qt::Key_Z, [this] { cmdUnReDo->click(); }},
        {QKeySequence::Quit, Qt::CTRL | Qt::Key_Q, [this] { lstFiles_Click(FileCommands::Exit); }},
    };
    for (const Command &command : commands) {
        QList<QKeySequence> bindings = QKeySequence::keyBindings(command.key);
        if (bindings.isEmpty())
            bindings << QKeySequence(command.fallback);
        const std::function<void()> run = command.run;
        for (const QKeySequence &sequence : bindings) {
            // Every standard binding carries a modifier, so ".", ",", "/" and space stay
            // with the view.
            auto *shortcut = new QShortcut(sequence, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this, [this, run] {
                if (shortcutAllowed())
                    run();
            });
        }
    }
}

bool TileEditorWindow::shortcutAllowed() const
{
    if (locked_ || isTextBox(QApplication::focusWidget()))
        return false;
    return QApplication::mouseButtons() == Qt::NoButton && !gestures_.active() &&
           !newTile_.active() && !selection_.marqueeActive() && !rightPan_;
}

void TileEditorWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (locked_ || droppedDocument(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
}

void TileEditorWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedDocument(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Questions and messages come after the drop has returned, so the program the file
    // was dragged from is not held up by them.
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            hideLists();
            endPanMode();
            files_->loadStateFrom(path);
        },
        Qt::QueuedConnection);
}

} // namespace tessella
