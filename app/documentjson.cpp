// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/documentjson.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tessella {

namespace {

class JsonWriter
{
public:
    std::string text;

    void beginObject() { open('{'); }
    void endObject() { close('}'); }
    void beginArray(const char *key)
    {
        name(key);
        open('[');
    }
    void beginArray() { open('['); }
    void endArray() { close(']'); }
    void beginObject(const char *key)
    {
        name(key);
        open('{');
    }

    void field(const char *key, double value)
    {
        name(key);
        number(value);
    }
    void field(const char *key, long long value)
    {
        name(key);
        text += std::to_string(value);
        needComma = true;
    }
    void field(const char *key, int value) { field(key, static_cast<long long>(value)); }
    void field(const char *key, const std::string &value)
    {
        name(key);
        string(value);
    }
    void point(double x, double y)
    {
        separate();
        text += '[';
        number(x);
        text += ',';
        number(y);
        text += ']';
        needComma = true;
    }

private:
    bool needComma = false;

    void separate()
    {
        if (needComma)
            text += ',';
        needComma = false;
    }
    void open(char c)
    {
        separate();
        text += c;
    }
    void close(char c)
    {
        text += c;
        needComma = true;
    }
    void name(const char *key)
    {
        separate();
        string(key);
        text += ':';
        needComma = false;
    }
    void number(double value)
    {
        if (!std::isfinite(value)) {
            text += "null";
        } else {
            char buf[32];
            auto res = std::to_chars(buf, buf + sizeof buf, value);
            text.append(buf, res.ptr);
        }
        needComma = true;
    }
    void string(const std::string &value)
    {
        text += '"';
        for (unsigned char c : value) {
            if (c == '"' || c == '\\') {
                text += '\\';
                text += static_cast<char>(c);
            } else if (c < 0x20 || c >= 0x7f) {
                // Header bytes are 8-bit text: escape them as their Latin-1 code points.
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                text += buf;
            } else {
                text += static_cast<char>(c);
            }
        }
        text += '"';
        needComma = true;
    }
};

void writeTile(JsonWriter &w, const Tile &t)
{
    w.beginObject();
    w.field("nVerts", t.nVerts);
    w.beginArray("verts");
    for (int i = 0; i < t.usableVerts(); ++i)
        w.point(t.verts[i].x, t.verts[i].y);
    w.endArray();
    w.field("color", t.color);
    w.field("grid", t.grid);
    w.field("selected", t.selected);
    w.field("deleted", t.deleted);
    w.field("sketchStart", static_cast<long long>(t.sketchStart));
    w.field("reflected", t.reflected);
    w.field("angle", t.angle);
    w.endObject();
}

void writeSketch(JsonWriter &w, const Sketch &s)
{
    w.beginObject();
    w.field("count", s.count);
    w.field("kind", s.kind);
    w.field("deleted", s.deletedMark);
    w.field("fillStyle", s.fillStyle);
    w.field("field5", s.field5);
    w.field("negative", s.negative);
    w.field("nPoints", s.nPoints);
    w.beginArray("points");
    for (int i = 0; i < s.usablePoints(); ++i)
        w.point(s.points[i].x, s.points[i].y);
    w.endArray();
    w.endObject();
}

void writeNode(JsonWriter &w, const NodeRecord &n)
{
    w.beginObject();
    w.field("anchored", n.anchored);
    w.field("rotCenter", n.rotCenter);
    w.field("refCenter", n.refCenter);
    w.field("x", n.x);
    w.field("y", n.y);
    w.field("lineColr", n.lineColr);
    w.field("ptColr", n.ptColr);
    w.field("nPoints", n.nPoints);
    w.field("fActive", n.fActive);
    w.field("fcpX", n.fcpX);
    w.field("fcpY", n.fcpY);
    w.field("bActive", n.bActive);
    w.field("bcpX", n.bcpX);
    w.field("bcpY", n.bcpY);
    w.endObject();
}

} // namespace

std::string documentJson(const Document &doc, const std::string &header)
{
    JsonWriter w;
    w.beginObject();
    w.field("header", header);
    w.field("tileCount", doc.tileCount());
    w.field("curTile", doc.curTile);
    w.field("grid", doc.grid);
    w.field("sketchCount", doc.sketchCount());
    w.field("nodeRecCount", doc.nodeRecCount());
    w.field("xfReflected", doc.xfReflected);
    w.beginArray("tiles");
    for (const Tile &t : doc.tiles)
        writeTile(w, t);
    w.endArray();
    w.beginArray("sketches");
    for (const Sketch &s : doc.sketches)
        writeSketch(w, s);
    w.endArray();
    w.beginArray("nodeRecs");
    for (const NodeRecord &n : doc.nodeRecs)
        writeNode(w, n);
    w.endArray();
    w.endObject();
    return w.text + "\n";
}

} // namespace tessella
