// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/probesurface.h"

namespace tessella {

ProbeSurface::ProbeSurface(int canvasX, int canvasY, Colour background)
    : ImageSurface(QSize(1, 1), QPoint(canvasX, canvasY), background)
{}

void ProbeSurface::moveTo(int canvasX, int canvasY, Colour background)
{
    setViewport(QSize(1, 1), QPoint(canvasX, canvasY), background);
}

} // namespace tessella
