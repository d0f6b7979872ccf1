// SPDX-License-Identifier: GPL-3.0-or-later
#include "tileeditor/editortips.h"

#include "platform/controltips.h"

namespace tessella {

namespace {

constexpr ControlTip kTips[] = {
    {"Frame1", nullptr, "a mode panel: only the highlighted one acts on the canvas"},
    {"cmdTiles", nullptr, "edit one tile at a time with the list below"},
    {"lstTiles", "new tile",
     "enter a new tile: click its corners on the lattice, click the first corner again or "
     "right-click to finish"},
    {"lstTiles", "rotate -m",
     "rotate a tile; drag to turn, snaps to 15° (hold space to turn freely), then place it"},
    {"lstTiles", "reflect -r m",
     "mirror a tile about its own vertical axis, then turn and place it as with rotate"},
    {"lstTiles", "copy -m", "copy a tile and drag the copy to a lattice node"},
    {"lstTiles", "move", "drag a tile to another lattice node"},
    {"lstTiles", "recolor", "give the tile you click a new colour"},
    {"lstTiles", "vertex -m", "drag a corner; the same corner of neighbouring tiles follows"},
    {"lstTiles", "delete", "delete the tile you click"},

    {"cmdSelect", nullptr, "choose tiles or corners for the group commands"},
    {"lstSelect", "tile", "click tiles to add them to the selection or take them out"},
    {"lstSelect", "all", "select every tile of this lattice"},
    {"lstSelect", "none", "clear the selection of tiles and corners"},
    {"lstSelect", "invert", "select the unselected tiles of this lattice and unselect the rest"},
    {"lstSelect", "by color", "click a tile to select every tile of its colour"},
    {"lstSelect", "marquis -t", "drag a rectangle to select the tiles inside it"},
    {"lstSelect", "vertex", "click corners to add them to the selection or take them out"},
    {"lstSelect", "marquis -v", "drag a rectangle to select the corners inside it"},
    {"lstSelect", "no select", "stop selecting and go back to entering tiles"},

    {"cmdAction", nullptr, "act on all selected tiles at once with the list below"},
    {"lstAction", "rotate -m",
     "rotate the selected tiles together; drag to turn, snaps to 15°, then place them"},
    {"lstAction", "reflect -rm",
     "mirror the selected tiles about a vertical line, then turn and place them"},
    {"lstAction", "copy -m", "copy the selected tiles; the selected ones move, copies stay"},
    {"lstAction", "move", "drag the selected tiles to other lattice nodes"},
    {"lstAction", "recolor", "give all selected tiles one new colour"},
    {"lstAction", "vertex -m", "drag all selected corners together"},
    {"lstAction", "delete", "delete the selected tiles"},
    {"lstAction", "no action", "stop group editing and go back to entering tiles"},

    {"cmdGrids", nullptr, "choose the lattice that corners snap to"},
    {"lstGrids", "rectangular", "square lattice, 16 units apart"},
    {"lstGrids", "center face", "square lattice, 24 units apart, with a node in each centre"},
    {"lstGrids", "hexagonal", "triangular lattice for triangles and hexagons"},

    {"cmdView", nullptr, "choose what the canvas draws"},
    {"lstViews", "heavy", "draw outlines twice as thick"},
    {"lstViews", "lines", "draw the tiles' outlines"},
    {"lstViews", "fills", "fill the tiles with their colours"},
    {"lstViews", "sketches", "draw the sketches inside the tiles"},

    {"cmdFiles", nullptr, "open, save, export an image, quit"},
    {"lstFiles", "load prims", "replace the tiles with the starter library"},
    {"lstFiles", "load state", "open a saved design (.mvl)"},
    {"lstFiles", "save state", "save the design as a .mvl file"},
    {"lstFiles", "save image", "export a part of the tiling as a picture"},
    {"lstFiles", "clear session", "remove every tile; undo brings them back"},
    {"lstFiles", "exit", "quit; asks to save unsaved edits first"},
    {"lstFiles", "about", "the program's name, licence and location"},

    {"cmdPan", nullptr, "drag the canvas to see another part of the plane"},
    {"cmdUnReDo", nullptr, "take back the last edit; press again to redo it"},
    {"cmdRevert", nullptr, "remove every tile and start again; undo brings them back"},
    {"cmdXform", nullptr,
     "reshape a tile's edges: press, then click a triangle, quadrilateral or hexagon"},
    {"cmdFrac", nullptr, "map the tiling into a disc and animate it"},
    {"picChip", nullptr,
     "colour of new tiles: click, then click a tile to take its colour; right-click to choose"},
};

} // namespace

void applyTileEditorTips(QWidget *window)
{
    applyControlTips(window, kTips);
}

} // namespace tessella
