// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/export/rasterpipeline.h"

namespace tessella {

RasterResult writeRaster(const RasterJob &, RasterEncoding, const QString &, ExportSink *)
{
    return RasterResult{RasterResult::Status::Failed, QStringLiteral("not available")};
}

} // namespace tessella
