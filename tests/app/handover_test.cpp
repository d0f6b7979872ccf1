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
const Tile kGone = squareTile(160, 20, 40, 0xff0000);    // deleted while the pick is open

using HandOver = ScriptedTest;

// An unpicked tile can be deleted while the picked one is open; "return to transform" before
// any hand-back removes no tile; the pending polygon is saved with its chain, and a new
// session that opens the file from the command line gives it back where it was left.
TEST_F(HandOver, ThePendingPolygonIsSavedAndReopensExactlyFromTheCommandLine)
{
    qtApp();
    QTemporaryDir dir;
    Document doc;
    std::unique_ptr<EditorSession> session;
    const auto start = [&](const QString &commandLine) {
        session.reset();
        doc = Document{};
        session = std::make_unique<EditorSession>(
            doc, dialogs, AppPaths{dir.path(), "tessella", dir.filePath("config"), {}});
        session->tileEditor().resize(900, 700);
        session->tileEditor().Form_Load(commandLine);
        session->tileEditor().show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&session->tileEditor()));
        return &session->tileEditor();
    };
    const auto xform = [&] { return session->transformEditor(); };
    const auto filesEntry = [&](int row) {
        clickButton(&session->tileEditor(), "cmdFiles");
        clickListItem(&session->tileEditor(), "lstFiles", row);
    };
    // A click, or a drag down to `toY`, at plane points.
    const auto clickOn = [](ViewportCanvas *canvas, double x, double y, double toY = -1) {
        QTest::mousePress(canvas, Qt::LeftButton, {}, canvas->toWidget(x, y));
        QTest::mouseMove(canvas, canvas->toWidget(x, toY < 0 ? y : toY));
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, canvas->toWidget(x, toY < 0 ? y : toY));
    };
    const QString two = dir.filePath("two.mvl"), pending = dir.filePath("pending.mvl");
    writeDoc(two, documentOf({kGone, kKept, kPicked}));
    TileEditorWindow *editor = start({});
    dialogs.expectOpenFile(two.toStdString());
    filesEntry(FileCommands::LoadState);
    clickButton(editor, "cmdXform");
    clickOn(editor->canvas(), 120, 120); // the pick
    ASSERT_NE(xform(), nullptr);
    clickListItem(editor, "lstTiles", TileDelete);
    clickOn(editor->canvas(), 180, 40); // no refusal message
    EXPECT_EQ(doc.tiles, std::vector<Tile>{kKept});
    clickButton(editor, "cmdXform"); // "return to transform"
    EXPECT_EQ(doc.tiles, std::vector<Tile>{kKept});

    // A translation link with one point added on the top edge and pulled up by 10.
    XformCanvas *canvas = xform()->canvas();
    clickButton(xform(), "cmdXforms");
    clickListItem(xform(), "lstXforms", XformTranslate);
    clickOn(canvas, 60, 40);
    clickOn(canvas, 60, 40);
    clickOn(canvas, 60, 40, 30);
    ASSERT_EQ(xform()->chain().countPoints(), 6);
    const std::vector<NodeRecord> chain = xform()->chain().saveChain();
    clickButton(xform(), "cmdReturn");
    ASSERT_TRUE(editor->isVisible());
    dialogs.expectSaveFile(pending.toStdString());
    dialogs.expectMessage("saved as:\n" + pending.toStdString());
    filesEntry(FileCommands::SaveState);
    const QByteArray bytes = readAll(pending);
    Document saved;
    ASSERT_TRUE(loadState(saved,
                          {reinterpret_cast<const uint8_t *>(bytes.data()), size_t(bytes.size())},
                          0, 0)
                    .ok);
    ASSERT_EQ(saved.tileCount(), 2);
    EXPECT_TRUE(saved.tiles[0] == kKept && saved.curTile == 1 && saved.tiles[1].nVerts == 6 &&
                saved.tiles[1].verts[0] == kPicked.verts[0]);
    EXPECT_EQ(saved.nodeRecs, chain);

    // A new session opens the file before its window is first shown.
    editor = start(pending);
    ASSERT_EQ(doc.tileCount(), 3); // and the empty start-up tile
    EXPECT_EQ(doc.curTile, 1);
    clickButton(editor, "cmdXform");
    ASSERT_TRUE(doc.tileCount() == 2 && doc.tiles[0] == kKept && xform());
    EXPECT_EQ(xform()->chain().saveChain(), chain);
    clickButton(xform(), "cmdReturn");
    ASSERT_EQ(doc.tileCount(), 3);
    EXPECT_EQ(doc.tiles[2].verts, saved.tiles[1].verts) << "back where it was left";
}

} // namespace
} // namespace tessella::test
