// SPDX-License-Identifier: GPL-3.0-or-later
// The tile editor's desktop conventions on the real window: standard shortcuts sent as
// real key events, and documents dropped on it.
#include "windowfixture.h"

#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

namespace tessella::test {
namespace {

using Kind = ScriptedDialogs::Kind;

// What each shortcut's command shows first in a document with unsaved edits; Undo shows
// nothing and swaps the tiles.
struct ShortcutCase
{
    const char *name;
    QKeySequence::StandardKey key;
    std::optional<Kind> dialog;
    const char *text; // the question's first line or the file dialog's title
    const char *fallback;
};

const ShortcutCase kShortcuts[] = {
    {"Open", QKeySequence::Open, Kind::YesNoCancel, "Loading new state will overwrite your edits",
     "Ctrl+O"},
    {"Save", QKeySequence::Save, Kind::SaveFile, "Save .mvl File", "Ctrl+S"},
    {"Quit", QKeySequence::Quit, Kind::YesNoCancel, "Do you want to save your edits?", "Ctrl+Q"},
    {"Undo", QKeySequence::Undo, std::nullopt, "", "Ctrl+Z"},
};

class ShortcutTest : public WindowTest, public ::testing::WithParamInterface<ShortcutCase>
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        // One edit that can be undone, not yet saved.
        doc.appendTile(squareTile(40, 40, 32, 0xff0000));
        window->undoHistory().tBackup(doc);
        doc.tiles.back().color = 0x0000ff;
        window->undoStateChanged();
        doc.dirty = true;
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    // The desktop's key for the command; Ctrl and the letter where it binds none.
    void pressShortcut(QWidget *target)
    {
        const QList<QKeySequence> bindings = QKeySequence::keyBindings(GetParam().key);
        QTest::keySequence(target, bindings.value(0, QKeySequence(GetParam().fallback)));
    }
    // The command ran, answered with Cancel where it asks.
    void expectShortcutRan()
    {
        const ShortcutCase &c = GetParam();
        if (!c.dialog) {
            EXPECT_EQ(undoButton()->text(), "redo");
            EXPECT_EQ(doc.tiles.back().color, 0xff0000u);
            return;
        }
        ASSERT_FALSE(dialogs.log.empty());
        const ScriptedDialogs::Shown &shown = dialogs.log.back();
        EXPECT_EQ(shown.kind, *c.dialog);
        EXPECT_EQ(c.dialog == Kind::SaveFile ? shown.options.title : shown.text, c.text);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(doc.dirty);
    }
    void expectNothingRan()
    {
        EXPECT_TRUE(dialogs.log.empty());
        EXPECT_EQ(undoButton()->text(), "undo");
        EXPECT_EQ(doc.tiles.back().color, 0x0000ffu);
    }
    void queueCancel()
    {
        if (GetParam().dialog == Kind::SaveFile)
            dialogs.expectSaveFile(std::nullopt);
        else if (GetParam().dialog)
            dialogs.expectYesNoCancel(Answer::Cancel);
    }
};

TEST_P(ShortcutTest, RunsItsCommand)
{
    queueCancel();
    pressShortcut(window.get());
    expectShortcutRan();
}

TEST_P(ShortcutTest, DoesNothingWhileATextBoxHasTheFocus)
{
    auto *text = new QLineEdit(window.get());
    text->show();
    text->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return text->hasFocus(); }));
    pressShortcut(text);
    expectNothingRan();
    // Away from the text box the same key works again.
    window->canvas()->setFocus();
    queueCancel();
    pressShortcut(window->canvas());
    expectShortcutRan();
}

TEST_P(ShortcutTest, DoesNothingWhileATileIsEntered)
{
    clickAt(104, 104);
    ASSERT_TRUE(window->newTile().active());
    pressShortcut(window.get());
    EXPECT_TRUE(dialogs.log.empty());
    EXPECT_EQ(doc.tiles.back().color, 0x0000ffu);
}

INSTANTIATE_TEST_SUITE_P(StandardKeys, ShortcutTest, ::testing::ValuesIn(kShortcuts),
                         [](const auto &info) { return std::string(info.param.name); });

class DropTest : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        start();
        doc.appendTile(squareTile(40, 40, 32, 0xff0000));
        doc.dirty = true;
        Document saved;
        for (int i = 0; i < 3; ++i)
            saved.appendTile(squareTile(40 + 48 * i, 40, 32, 0x00ff00));
        mvl = dir.filePath("dropped.mvl");
        writeDoc(mvl, saved);
    }

    static std::unique_ptr<QMimeData> files(const QStringList &paths)
    {
        auto mime = std::make_unique<QMimeData>();
        QList<QUrl> urls;
        for (const QString &p : paths)
            urls << (p.contains("://") ? QUrl(p) : QUrl::fromLocalFile(p));
        mime->setUrls(urls);
        return mime;
    }

    // Drags `mime` over the canvas as the window system delivers it; true when taken.
    bool dragEnter(const QMimeData *mime)
    {
        const QPoint at = window->canvas()->mapTo(window.get(), window->canvas()->rect().center());
        QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->windowHandle(), &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window->windowHandle(), &drop);
        return drop.isAccepted();
    }

    QString mvl;
};

TEST_F(DropTest, AMvlFileOpensAfterTheSaveFirstQuestion)
{
    dialogs.expectYesNoCancel(Answer::No);
    const auto mime = files({mvl});
    ASSERT_TRUE(dragEnter(mime.get()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return doc.tileCount() == 3; }));
    EXPECT_EQ(dialogs.log.front().text, "Loading new state will overwrite your edits");
    EXPECT_EQ(window->fileCommands().docPath(), mvl);
    EXPECT_FALSE(doc.dirty);
}

TEST_F(DropTest, AnythingElseIsRefusedAndChangesNothing)
{
    QFile text(dir.filePath("notes.txt"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a design");
    text.close();
    QDir(dir.path()).mkdir("folder.mvl");
    const int16_t tilesBefore = doc.tileCount();
    const QStringList drops[] = {
        {text.fileName()},
        {mvl, mvl},
        {"https://example.org/dropped.mvl"},
        {dir.filePath("folder.mvl")},
        {dir.filePath("missing.mvl")},
    };
    for (const QStringList &paths : drops) {
        const auto mime = files(paths);
        EXPECT_FALSE(dragEnter(mime.get())) << paths.join(' ').toStdString();
        // Even delivered without the enter, the drop is refused.
        QDropEvent drop(QPointF(300, 300), Qt::CopyAction, mime.get(), Qt::LeftButton, {});
        QCoreApplication::sendEvent(window.get(), &drop);
        EXPECT_FALSE(drop.isAccepted());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(doc.tileCount(), tilesBefore);
    EXPECT_TRUE(doc.dirty);
    EXPECT_TRUE(dialogs.log.empty());
}

} // namespace
} // namespace tessella::test
