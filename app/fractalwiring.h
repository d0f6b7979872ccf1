// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/fractalhost.h"
#include "fractal/fractalpanel.h"
#include "fractal/fractalstate.h"
#include "tileeditor/fractallink.h"

#include <QPointer>

namespace tessella {

class TileEditorWindow;

// Joins the tile editor and the fractal panel in both directions: the editor sees the
// panel as its FractalLink, the panel sees the editor as its FractalHost. The panel is
// made at the first "fractal" and kept above the editor.
class FractalWiring : public FractalLink, public FractalHost
{
public:
    FractalWiring(FractalState &state, Dialogs &dialogs) : state_(state), dialogs_(dialogs) {}
    ~FractalWiring() override;
    // The editor must be set before the panel is first opened.
    void setEditor(TileEditorWindow *editor) { editor_ = editor; }
    FractalPanel *panel() const { return panel_.data(); }

    // FractalLink
    bool panelOpen() const override { return panel_ && panel_->isOpen(); }
    bool renderingShown() const override { return panelOpen() && state_.fractalRendered; }
    void fractalButton() override;
    void restoreRendering() override;
    void documentReplaced() override;
    void applyDrawSettings(DrawSettings &settings) const override;
    void drawPicture(TilingDrawer &drawer, double extentWidth, double extentHeight) override;
    void drawOverlay(Surface &surface) override;
    bool pointerPress(int button, double x, double y, double tolerance) override;
    void pointerMove(double x, double y) override;
    void pointerRelease() override;
    Scene exportScene(double left, double top, double width, double height) const override;

    // FractalHost
    Document &document() override;
    FractalSnapshot &fractalSnapshot() override;
    bool undoEnabled() const override;
    void setUndoEnabled(bool on) override;
    void setFractalCaption(const QString &caption) override;
    void activateSkipped() override;
    void saveView(int slot) override;
    void restoreView(int slot) override;
    void resetZoomKey() override;
    void refresh() override;
    void redrawOverlay() override;
    void setSkeleton(bool on) override;
    DrawSettings drawSettings() const override;
    double zoom() const override;
    void lockForRun(bool on) override;

private:
    FractalState &state_;
    Dialogs &dialogs_;
    TileEditorWindow *editor_ = nullptr;
    QPointer<FractalPanel> panel_;
};

} // namespace tessella
