// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "document/mvlformat.h"
#include "document/undo.h"
#include "platform/fileio.h"
#include "platform/scripteddialogs.h"
#include "tileeditor/filecommands.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessella::testing {

// Records what the file commands asked of the window, in order.
class FakeFilesHost : public FilesHost
{
public:
    void fullRedraw() override { calls.push_back("fullRedraw"); }
    void resetZoom() override { calls.push_back("resetZoom"); }
    double halfCanvasWidth() const override { return 500; }
    double halfCanvasHeight() const override { return 300; }
    void documentReplaced() override { calls.push_back("documentReplaced"); }
    void resetModes() override { calls.push_back("resetModes"); }
    bool fractalShown() const override { return fractal; }
    void renderFractal() override
    {
        calls.push_back("renderFractal");
        // While the picture is shown the render command restores the real tiles.
        fractal = false;
        if (doc)
            doc->tiles = realTiles;
    }
    void saveImage() override { calls.push_back("saveImage"); }
    void closeApplication() override { calls.push_back("closeApplication"); }
    void undoStateChanged() override { calls.push_back("undoStateChanged"); }

    int count(const std::string &name) const
    {
        int n = 0;
        for (const std::string &c : calls)
            n += c == name;
        return n;
    }
    // Index of the first call of that name, or -1.
    int indexOf(const std::string &name) const
    {
        for (size_t i = 0; i < calls.size(); ++i)
            if (calls[i] == name)
                return static_cast<int>(i);
        return -1;
    }

    std::vector<std::string> calls;
    bool fractal = false;
    Document *doc = nullptr;
    std::vector<Tile> realTiles;
};

inline Tile squareTile(double x, double y, Colour colour, int16_t grid = GridRectangular)
{
    Tile t;
    t.setCorners({{x, y}, {x + 20, y}, {x + 20, y + 20}, {x, y + 20}});
    t.color = colour;
    t.grid = grid;
    return t;
}

// A small saved document: n squares, curTile 0, the given grid.
inline Document squaresDocument(int n, Colour base, int16_t grid = GridRectangular)
{
    Document doc;
    for (int i = 0; i < n; ++i)
        doc.tiles.push_back(squareTile(40.0 * i, 10, base + i, grid));
    doc.grid = grid;
    return doc;
}

class FileCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        host.doc = &doc;
        // The live document of a session: three tiles, edited.
        doc = squaresDocument(3, 0x112233, GridHexagonal);
        doc.dirty = true;
    }
    void TearDown() override { setWriteFailureForTesting(false); }

    QString path(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    std::string stdPath(const char *name) const { return path(name).toStdString(); }

    static void writeBytes(const QString &file, const std::vector<uint8_t> &bytes)
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(f.write(reinterpret_cast<const char *>(bytes.data()),
                          static_cast<qint64>(bytes.size())),
                  static_cast<qint64>(bytes.size()));
    }
    static void writeDoc(const QString &file, const Document &d)
    {
        const auto bytes = writeDocument(d);
        ASSERT_TRUE(bytes.has_value());
        writeBytes(file, *bytes);
    }
    static QByteArray readAll(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    Document doc;
    UndoHistory undo;
    ScriptedDialogs dialogs;
    FakeFilesHost host;
    FileCommands cmds{doc,
                      undo,
                      dialogs,
                      host,
                      dir.filePath("primitives.mvl"),
                      QStringLiteral("/opt/tessella/bin/tessella")};
};

} // namespace tessella::testing
