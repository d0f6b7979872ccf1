// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/document.h"
#include "platform/apppaths.h"
#include "platform/dialogs.h"
#include "tileeditor/editorhooks.h"

#include <QPointer>

#include <memory>
#include <optional>

namespace tessella {

class TileEditorWindow;
class XformWindow;

// The two editors of one running program and the wiring between them. The tile editor
// hands a polygon over through its transform hook; the transform editor hands it back
// through the tile editor's takeHandBack; a save asks the transform editor to write its
// polygon back first. Neither window sees the other.
class EditorSession
{
public:
    // `hooks` carries the other windows the tile editor may open (fractal, export, file
    // association); the transform hooks are set here.
    EditorSession(Document &doc, Dialogs &dialogs, AppPaths paths, EditorHooks hooks = {});
    ~EditorSession();
    EditorSession(const EditorSession &) = delete;
    EditorSession &operator=(const EditorSession &) = delete;

    TileEditorWindow &tileEditor() { return *editor_; }
    // The transform editor while it holds a polygon (shown or hidden); nullptr otherwise.
    XformWindow *transformEditor() const;

private:
    void showTransformEditor(std::optional<Vertex> displayCorner);
    void transformUnloaded();

    Document &doc_;
    Dialogs &dialogs_;
    std::unique_ptr<TileEditorWindow> editor_;
    QPointer<XformWindow> xform_;
};

} // namespace tessella
