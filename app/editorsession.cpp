// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/editorsession.h"

#include "tileeditor/tileeditorwindow.h"
#include "transform/xformwindow.h"

namespace tessella {

EditorSession::EditorSession(Document &doc, Dialogs &dialogs, AppPaths paths, EditorHooks hooks)
    : doc_(doc), dialogs_(dialogs)
{
    hooks.showTransformEditor = [this](std::optional<Vertex> corner) {
        showTransformEditor(corner);
    };
    hooks.writeBackTransform = [this] { return !xform_ || xform_->writeBack(); };
    hooks.closeTransformEditor = [this] {
        doc_.closing = true;
        delete xform_.data();
    };
    editor_ = std::make_unique<TileEditorWindow>(doc, dialogs, std::move(paths), std::move(hooks));
}

EditorSession::~EditorSession()
{
    doc_.closing = true;
    delete xform_.data();
}

XformWindow *EditorSession::transformEditor() const
{
    return xform_.data();
}

void EditorSession::showTransformEditor(std::optional<Vertex> displayCorner)
{
    if (xform_) {
        xform_->show(); // hidden by "return to tiles": the chain is as it was
        xform_->raise();
        xform_->activateWindow();
        return;
    }
    // Created on a pick, or on "return to transform" after a load with a pending
    // transform; hidden by "return to tiles"; deleted once it unloads.
    XformCallbacks callbacks;
    callbacks.handBack = [this](HandBack how) { editor_->takeHandBack(how); };
    callbacks.unloaded = [this] { transformUnloaded(); };
    callbacks.sketchSnapshots = [this] { return editor_->snapshotTables(); };
    auto *window = new XformWindow(doc_, dialogs_, std::move(callbacks));
    if (!window->Form_Load(displayCorner)) {
        delete window;
        editor_->show();
        return;
    }
    xform_ = window;
    xform_->show();
}

void EditorSession::transformUnloaded()
{
    // Forgotten at once, so a pick before the deletion opens a new window.
    if (XformWindow *window = xform_.data()) {
        xform_.clear();
        window->deleteLater();
    }
}

} // namespace tessella
