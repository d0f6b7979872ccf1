// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "fractal/mapping.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace tessella {

// The fractal rendering asked for on the command line (`--export OUT --fractal CX,CY,R
// [options] FILE`), in the panel's own units and ranges.
struct FractalOptions
{
    MappingParams params; // the reference circle and the mapping settings
    int hueShift = 0;
    int lightShift = 0;
    bool skeleton = false;
};

// Reads the fractal options from the command line after `--export OUT`, one at a time.
class FractalOptionReader
{
public:
    // When args[i] is a fractal option, consumes it with its value (advancing i past the
    // value) and returns true. A value outside the panel's range, or not a number, is
    // recorded as the error; the caller then refuses the export.
    bool take(const QStringList &args, qsizetype &i);

    // The options, when --fractal was given and nothing was refused.
    std::optional<FractalOptions> options() const;
    // Why the options were refused (also: options without --fractal, or both --pinch and
    // --wave); empty when they were not.
    QString error() const;

private:
    void refuse(const QString &message);

    FractalOptions options_;
    bool given_ = false;   // --fractal was seen
    bool touched_ = false; // some fractal option was seen
    int variants_ = 0;     // --pinch and --wave seen
    QString error_;
};

} // namespace tessella
