// SPDX-License-Identifier: GPL-3.0-or-later
// The hand-over between the two real editors, wired as the program wires them, driven
// with real events; what the user would keep is read back from the saved file.
#include "app/editorsession.h"
#include "document/documentfile.h"
#include "tileeditor/canvaswidget.h"
#include "tileeditor/tileeditorwindow.h"
#include "transform/xformcanvas.h"
#include "transform/xformwindow.h"

#include "tests/qtapp.h"
#include "tests/tileeditor/editorfixture.h"
#include "tests/widgetdriver.h"

namespace tessella::test {
namespace {

const Tile kKept = squareTile(20, 20, 40, 0x0000ff);     // never picked
const Tile kPicked = squareTile(100, 100, 40, 0x00ff00); // at editor (40, 40) once picked

class HandOverTest : public ScriptedTest
{
protected:
    void SetUp() override
    {
        ScriptedTest::SetUp();
        qtApp();
        writeDoc(path("two.mvl"), documentOf({kKept, kPicked}));
    }
    void TearDown() override { ScriptedTest::TearDown(), session.reset(); }
    QString path(const char *name) const { return dir.filePath(name); }

    void start(const QString &commandLine = {})
    {
        session.reset();
        doc = Document{};
        session = std::make_unique<EditorSession>(
            doc, dialogs, AppPaths{dir.path(), "tessella", dir.filePath("config"), {}});
        editor().resize(900, 700);
        editor().Form_Load(commandLine);
        editor().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor()));
    }
    TileEditorWindow &editor() { return session->tileEditor(); }
    XformWindow *xform() { return session->transformEditor(); }
    void filesEntry(int row)
    {
        clickButton(&editor(), "cmdFiles");
        clickListItem(&editor(), "lstFiles", row);
    }
    // Start-up, then "load state" of the two squares and a pick of the second.
    void loadAndPick()
    {
        start();
        dialogs.expectOpenFile(path("two.mvl").toStdString());
        filesEntry(FileCommands::LoadState);
        clickButton(&editor(), "cmdXform");
        clickOn(editor().canvas(), 120, 120);
        ASSERT_NE(xform(), nullptr);
    }
    static void clickOn(ViewportCanvas *canvas, double x, double y)
    {
        QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->toWidget(x, y));
    }
    // A translation link with one point added on the top edge and pulled up by 10.
    void editInTransformEditor()
    {
        XformCanvas *canvas = xform()->canvas();
        clickButton(xform(), "cmdXforms");
        clickListItem(xform(), "lstXforms", XformTranslate);
        clickOn(canvas, 60, 40);
        clickOn(canvas, 60, 40);
        QTest::mousePress(canvas, Qt::LeftButton, {}, canvas->toWidget(60, 40));
        QTest::mouseMove(canvas, canvas->toWidget(60, 30));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, canvas->toWidget(60, 30));
        ASSERT_EQ(xform()->chain().countPoints(), 6);
    }
    Document saveAndReadBack(const char *name)
    {
        dialogs.expectSaveFile(path(name).toStdString());
        dialogs.expectMessage("saved as:\n" + path(name).toStdString());
        filesEntry(FileCommands::SaveState);
        const QByteArray bytes = readAll(path(name));
        Document loaded;
        const auto *data = reinterpret_cast<const uint8_t *>(bytes.data());
        EXPECT_TRUE(loadState(loaded, {data, size_t(bytes.size())}, 0, 0).ok);
        return loaded;
    }

    QTemporaryDir dir;
    Document doc;
    std::unique_ptr<EditorSession> session;
};

TEST_F(HandOverTest, ReturnToTransformBeforeAnyHandBackRemovesNoTile)
{
    loadAndPick();
    clickButton(&editor(), "cmdXform"); // "return to transform"
    EXPECT_EQ(doc.tiles, std::vector<Tile>{kKept});
    editInTransformEditor();
    clickButton(xform(), "cmdReturn");
    ASSERT_TRUE(editor().isVisible());
    const Document loaded = saveAndReadBack("returned.mvl");
    ASSERT_EQ(loaded.tileCount(), 2);
    EXPECT_TRUE(loaded.tiles[0] == kKept && loaded.tiles[1].nVerts == 6 && loaded.curTile == 1);
    EXPECT_EQ(loaded.nodeRecs, xform()->chain().saveChain());
}

TEST_F(HandOverTest, TheUnpickedTileCanBeDeletedWhileThePickedOneIsOpen)
{
    loadAndPick();
    clickListItem(&editor(), "lstTiles", TileDelete);
    clickOn(editor().canvas(), 40, 40);
    EXPECT_EQ(doc.tileCount(), 0); // no refusal message either
}

TEST_F(HandOverTest, APolygonSavedBeforeItsFirstReturnReopensExactlyFromTheCommandLine)
{
    loadAndPick();
    editInTransformEditor();
    const std::vector<NodeRecord> chain = xform()->chain().saveChain();
    const Document saved = saveAndReadBack("pending.mvl");
    ASSERT_EQ(saved.tileCount(), 2);
    EXPECT_TRUE(saved.tiles[0] == kKept && saved.curTile == 1 && saved.tiles[1].nVerts == 6 &&
                saved.tiles[1].verts[0] == kPicked.verts[0]);
    EXPECT_EQ(saved.nodeRecs, chain);

    // A new session opens the file before its window is first shown.
    start(path("pending.mvl"));
    ASSERT_EQ(doc.tileCount(), 3); // and the empty start-up tile
    EXPECT_EQ(doc.curTile, 1);
    clickButton(&editor(), "cmdXform");
    ASSERT_TRUE(doc.tileCount() == 2 && doc.tiles[0] == kKept && xform());
    EXPECT_EQ(xform()->chain().saveChain(), chain);
    clickButton(xform(), "cmdReturn");
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.tiles[2].verts, saved.tiles[1].verts) << "back where it was left";
}

} // namespace
} // namespace tessella::test
