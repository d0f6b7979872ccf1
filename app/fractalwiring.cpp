// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fractalwiring.h"

#include "fractal/mappedrendering.h"
#include "tileeditor/tileeditorwindow.h"

#include <memory>

namespace tessella {

FractalWiring::~FractalWiring()
{
    delete panel_.data();
}

void FractalWiring::fractalButton()
{
    if (panelOpen()) {
        panel_->closePanel();
        return;
    }
    if (!panel_)
        panel_ = new FractalPanel(state_, *this, dialogs_, editor_);
    panel_->open();
}

void FractalWiring::restoreRendering()
{
    if (panel_)
        panel_->restoreRendering();
}

void FractalWiring::documentReplaced()
{
    if (panel_)
        panel_->documentReplaced();
}

void FractalWiring::applyDrawSettings(DrawSettings &settings) const
{
    settings.colorShiftOn = panelOpen() && state_.colorShiftOn;
    settings.hueShift = state_.hueShift;
    settings.lightShift = state_.lightShift;
}

void FractalWiring::drawPicture(TilingDrawer &drawer, double extentWidth, double extentHeight)
{
    if (panel_)
        panel_->drawPicture(drawer, extentWidth, extentHeight);
}

void FractalWiring::drawOverlay(Surface &surface)
{
    if (panel_)
        panel_->drawOverlay(surface);
}

bool FractalWiring::pointerPress(int button, double x, double y, double tolerance)
{
    return panel_ && panel_->pointerPress(button, x, y, tolerance);
}

void FractalWiring::pointerMove(double x, double y)
{
    if (panel_)
        panel_->pointerMove(x, y);
}

void FractalWiring::pointerRelease()
{
    if (panel_)
        panel_->pointerRelease();
}

FractalLink::Scene FractalWiring::exportScene(double left, double top, double width,
                                              double height) const
{
    if (!renderingShown())
        return {};
    auto rendering = std::make_shared<const MappedRendering>(
        editor_->document(), editor_->fractalSnapshot().tiles(), state_.params,
        SurfaceRect{left, top, width, height});
    return [rendering](Surface &surface, const DrawSettings &settings) {
        rendering->draw(surface, settings);
    };
}

Document &FractalWiring::document()
{
    return editor_->document();
}

FractalSnapshot &FractalWiring::fractalSnapshot()
{
    return editor_->fractalSnapshot();
}

bool FractalWiring::undoEnabled() const
{
    return editor_->undoHistory().enabled();
}

void FractalWiring::setUndoEnabled(bool on)
{
    // A load while the panel was open dropped the snapshot: nothing to undo then.
    UndoHistory &undo = editor_->undoHistory();
    undo.setEnabled(on && undo.hasSnapshot());
    editor_->undoStateChanged();
}

void FractalWiring::setFractalCaption(const QString &caption)
{
    editor_->setFractalCaption(caption);
}

void FractalWiring::activateSkipped()
{
    editor_->setSkipActivate();
    editor_->Form_Activate();
    editor_->activateWindow();
}

void FractalWiring::saveView(int slot)
{
    editor_->saveView(slot);
}

void FractalWiring::restoreView(int slot)
{
    editor_->restoreView(slot);
}

void FractalWiring::resetZoomKey()
{
    editor_->resetZoomKey();
}

void FractalWiring::refresh()
{
    editor_->Form_Resize();
}

void FractalWiring::redrawOverlay()
{
    editor_->redrawOverlay();
}

void FractalWiring::setSkeleton(bool on)
{
    editor_->setSkeleton(on);
}

DrawSettings FractalWiring::drawSettings() const
{
    return editor_->drawSettings();
}

double FractalWiring::zoom() const
{
    return editor_->view().zoom();
}

void FractalWiring::lockForRun(bool on)
{
    if (on)
        editor_->lockForRun();
    else
        editor_->unlock();
}

} // namespace tessella
