// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-over between the two real editors, wired as the program wires them, driven
// with real events; what the user would keep is read back from the saved file.
#include "app/editorsession.h"
#include "document/documentfile.h"
#include "platform/scripteddialogs.h"
#include "tileeditor/canvaswidget.h"
#include "tileeditor/tileeditorwindow.h"
#include "transform/xformcanvas.h"
#include "transform/xformwindow.h"

#include "tests/qtapp.h"
#include "tests/support/tilebuilder.h"
#include "tests/widgetdriver.h"

#include <QFile>
#include <QTemporaryDir>

namespace tessella {
namespace {

using test::squareTile;

const Tile kKept = squareTile(20, 20, 40, 0x0000ff);     // never picked
const Tile kPicked = squareTile(100, 100, 40, 0x00ff00); // picked; at editor (40, 40)

class HandOverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::qtApp();
        dialogs.onFailure = [](const std::string &what) { ADD_FAILURE() << what; };
        Document two = test::documentOf({kKept, kPicked});
        const auto bytes = writeDocument(two);
        ASSERT_TRUE(bytes.has_value());
        QFile f(path("two.mvl"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(reinterpret_cast<const char *>(bytes->data()), qint64(bytes->size()));
    }
    void TearDown() override
    {
        EXPECT_TRUE(dialogs.allConsumed()) << dialogs.pending() << " dialogs never shown";
        session.reset();
    }

    QString path(const char *name) const { return dir.filePath(name); }

    void start(const QString &commandLine = {})
    {
        session.reset();
        doc = Document{};
        AppPaths paths{dir.path(), "tessella", dir.filePath("config"), {}};
        session = std::make_unique<EditorSession>(doc, dialogs, paths);
        editor().resize(900, 700);
        editor().Form_Load(commandLine);
        editor().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor()));
    }
    TileEditorWindow &editor() { return session->tileEditor(); }
    XformWindow *xform() { return session->transformEditor(); }

    void filesEntry(int row)
    {
        test::clickButton(&editor(), "cmdFiles");
        test::clickListItem(&editor(), "lstFiles", row);
    }
    // "load state" of the two squares, as a user does it after start-up.
    void loadTwoSquares()
    {
        dialogs.expectOpenFile(path("two.mvl").toStdString());
        filesEntry(FileCommands::LoadState);
        ASSERT_EQ(doc.tileCount(), 2);
    }
    void clickTiles(double x, double y)
    {
        QTest::mouseClick(editor().canvas(), Qt::LeftButton, {}, editor().canvas()->toWidget(x, y));
    }
    void pickSecondSquare()
    {
        test::clickButton(&editor(), "cmdXform");
        clickTiles(120, 120);
        ASSERT_NE(xform(), nullptr);
        ASSERT_TRUE(xform()->isVisible());
    }
    // A translation link with one point added on the top edge and pulled up by 10.
    void editInTransformEditor()
    {
        auto at = [this](double x, double y) { return xform()->canvas()->toWidget(x, y); };
        test::clickButton(xform(), "cmdXforms");
        test::clickListItem(xform(), "lstXforms", XformTranslate);
        QTest::mouseClick(xform()->canvas(), Qt::LeftButton, {}, at(60, 40));
        QTest::mouseClick(xform()->canvas(), Qt::LeftButton, {}, at(60, 40));
        QTest::mousePress(xform()->canvas(), Qt::LeftButton, {}, at(60, 40));
        QTest::mouseMove(xform()->canvas(), at(60, 30));
        QTest::mouseRelease(xform()->canvas(), Qt::LeftButton, {}, at(60, 30));
        ASSERT_EQ(xform()->chain().countPoints(), 6);
    }
    Document saveAndReadBack(const char *name)
    {
        dialogs.expectSaveFile(path(name).toStdString());
        dialogs.expectMessage("saved as:\n" + path(name).toStdString());
        filesEntry(FileCommands::SaveState);
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        Document loaded;
        const LoadReport report = loadState(
            loaded, {reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size())}, 0,
            0);
        EXPECT_TRUE(report.ok) << report.message;
        return loaded;
    }

    QTemporaryDir dir;
    Document doc;
    ScriptedDialogs dialogs;
    std::unique_ptr<EditorSession> session;
};

TEST_F(HandOverTest, ReturnToTransformBeforeAnyHandBackRemovesNoTile)
{
    start();
    loadTwoSquares();
    pickSecondSquare();
    test::clickButton(&editor(), "cmdXform"); // "return to transform"
    ASSERT_EQ(doc.tileCount(), 1);
    EXPECT_EQ(doc.tiles[0], kKept);
    EXPECT_FALSE(editor().isVisible());

    editInTransformEditor();
    test::clickButton(xform(), "cmdReturn");
    ASSERT_TRUE(editor().isVisible());
    ASSERT_EQ(doc.tileCount(), 2);
    const Document loaded = saveAndReadBack("returned.mvl");
    ASSERT_EQ(loaded.tileCount(), 2);
    EXPECT_EQ(loaded.tiles[0], kKept);
    EXPECT_EQ(loaded.tiles[1].nVerts, 6);
    EXPECT_EQ(loaded.curTile, 1);
    EXPECT_EQ(loaded.nodeRecs, xform()->chain().saveChain());
}

TEST_F(HandOverTest, TheUnpickedTileCanBeDeletedWhileThePickedOneIsOpen)
{
    start();
    loadTwoSquares();
    pickSecondSquare();
    test::clickListItem(&editor(), "lstTiles", TileDelete);
    clickTiles(40, 40);
    EXPECT_EQ(doc.tileCount(), 0); // no refusal message either
}

TEST_F(HandOverTest, APolygonSavedBeforeItsFirstReturnReopensExactlyFromTheCommandLine)
{
    start();
    loadTwoSquares();
    pickSecondSquare();
    editInTransformEditor();
    const std::vector<NodeRecord> chain = xform()->chain().saveChain();
    const Document saved = saveAndReadBack("pending.mvl");
    ASSERT_EQ(saved.tileCount(), 2);
    EXPECT_EQ(saved.tiles[0], kKept);
    EXPECT_EQ(saved.curTile, 1);
    EXPECT_EQ(saved.tiles[1].nVerts, 6);
    EXPECT_EQ(saved.tiles[1].verts[0], kPicked.verts[0]);
    EXPECT_TRUE(saved.xformOpen);
    EXPECT_EQ(saved.nodeRecs, chain);

    // A new session opens the file before its window is first shown.
    start(path("pending.mvl"));
    ASSERT_EQ(doc.tileCount(), 3); // and the empty start-up tile
    EXPECT_EQ(doc.curTile, 1);
    test::clickButton(&editor(), "cmdXform");
    ASSERT_EQ(doc.tileCount(), 2);
    EXPECT_EQ(doc.tiles[0], kKept);
    ASSERT_NE(xform(), nullptr);
    EXPECT_EQ(xform()->chain().saveChain(), chain);
    test::clickButton(xform(), "cmdReturn");
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.tiles[2].verts, saved.tiles[1].verts) << "back where it was left";
}

} // namespace
} // namespace tessella
