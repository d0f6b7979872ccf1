// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tessella {

// Progress and cancel, called on the thread that runs exportImage, between bands (so a
// window may let its events run in progress()). Cancel is honoured within one band.
class ExportSink
{
public:
    virtual ~ExportSink() = default;
    // Fraction of the work done, 0 .. 1.
    virtual void progress(double fraction) = 0;
    virtual bool cancelled() = 0;
};

} // namespace tessella
