// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's desktop conventions on the real window: standard shortcuts sent as
// real key events, and files dropped on it as the window system delivers them.
#include "windowfixture.h"

#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

namespace tessella::test {
namespace {

using Kind = ScriptedDialogs::Kind;

// What each shortcut's command shows first with unsaved edits (answered Cancel). The keys
// are the desktop's standard ones (Ctrl+Q where a desktop binds none to Quit).
struct ShortcutCase
{
    const char *keys;
    std::optional<Kind> dialog;
    const char *text; // the question's first line or the file dialog's title
};
const ShortcutCase kShortcuts[] = {
    {"Ctrl+O", Kind::YesNoCancel, "Loading new state will overwrite your edits"},
    {"Ctrl+S", Kind::SaveFile, "Save .mvl File"},
    {"Ctrl+Q", Kind::YesNoCancel, "Do you want to save your edits?"},
    {"Ctrl+Z", std::nullopt, ""}, // undo, last: it changes the tiles
};

class DesktopTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        // One unsaved edit that can be undone.
        doc.appendTile(squareTile(40, 40, 32, 0xff0000));
        window->undoHistory().tBackup(doc);
        doc.tiles.back().color = 0x0000ff;
        window->undoStateChanged();
        doc.dirty = true;
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    // Drags `paths` over the canvas and drops them; true when the window took them.
    bool drop(const QStringList &paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << (p.contains("://") ? QUrl(p) : QUrl::fromLocalFile(p));
        mime.setUrls(urls);
        const QPoint at = window->canvas()->mapTo(window.get(), QPoint(50, 50));
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->windowHandle(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        // Delivered even after a refused enter, the drop must be refused on its own.
        QCoreApplication::sendEvent(window.get(), &dropped);
        return enter.isAccepted() && dropped.isAccepted();
    }
};

TEST_F(DesktopTest, ShortcutsRunTheirCommandsExceptWhileTypingOrEnteringATile)
{
    auto *text = new QLineEdit(window.get());
    text->show();
    for (const ShortcutCase &c : kShortcuts) {
        SCOPED_TRACE(c.keys);
        text->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([&] { return text->hasFocus(); }));
        QTest::keySequence(text, QKeySequence(c.keys));
        EXPECT_TRUE(dialogs.log.empty());
        EXPECT_EQ(undoButton()->text(), "undo");

        window->canvas()->setFocus();
        if (c.dialog == Kind::SaveFile)
            dialogs.expectSaveFile(std::nullopt);
        else if (c.dialog)
            dialogs.expectYesNoCancel(Answer::Cancel);
        QTest::keySequence(window->canvas(), QKeySequence(c.keys));
        if (!c.dialog) {
            EXPECT_EQ(undoButton()->text(), "redo");
            EXPECT_EQ(doc.tiles.back().color, 0xff0000u);
            continue;
        }
        ASSERT_EQ(dialogs.log.size(), 1u);
        const ScriptedDialogs::Shown &shown = dialogs.log.front();
        EXPECT_EQ(shown.kind, *c.dialog);
        EXPECT_EQ(c.dialog == Kind::SaveFile ? shown.options.title : shown.text, c.text);
        dialogs.log.clear();
    }
    EXPECT_TRUE(window->isVisible());
    clickAt(104, 104);
    ASSERT_TRUE(window->newTile().active());
    QTest::keySequence(window->canvas(), QKeySequence(kShortcuts[0].keys));
    EXPECT_TRUE(dialogs.log.empty());
}

TEST_F(DesktopTest, ADroppedMvlFileOpensAndAnythingElseIsRefused)
{
    Document saved;
    for (int i = 0; i < 3; ++i)
        saved.appendTile(squareTile(40 + 48 * i, 40, 32, 0x00ff00));
    const QString mvl = dir.filePath("dropped.mvl");
    const QString other = dir.filePath("dropped.txt");
    std::vector<uint8_t> bytes = *writeDocument(saved);
    writeBytes(other, bytes);
    // A foreign file, whose tiles sit around the origin: the load centres them on the canvas.
    std::copy(kHeaderForeignH.begin(), kHeaderForeignH.end(), bytes.begin());
    writeBytes(mvl, bytes);
    QDir(dir.path()).mkdir("folder.mvl");
    const int16_t before = doc.tileCount();
    for (const QStringList &paths : {QStringList{other},
                                     {mvl, mvl},
                                     {"https://example.org/a.mvl"},
                                     {dir.filePath("folder.mvl")}})
        EXPECT_FALSE(drop(paths)) << paths.join(' ').toStdString();
    QCoreApplication::processEvents();
    EXPECT_EQ(doc.tileCount(), before);
    EXPECT_TRUE(dialogs.log.empty());

    dialogs.expectYesNoCancel(Answer::No);
    dialogs.expectMessage(); // the foreign file's report
    ASSERT_TRUE(drop({mvl}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc.tileCount() == 3; }));
    EXPECT_EQ(dialogs.log.front().text, "Loading new state will overwrite your edits");
    EXPECT_EQ(window->fileCommands().docPath(), mvl);
    const PlaneView &view = window->view();
    EXPECT_EQ(doc.tiles[0].verts[0],
              (Vertex{40 + view.extentWidth() / 2, 40 + view.extentHeight() / 2}));
}

} // namespace
} // namespace tessella::test
