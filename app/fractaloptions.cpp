// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/fractaloptions.h"

#include <cmath>
#include <numbers>

namespace tessella {

namespace {

std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// The slider positions are tenths: a value is in range when its nearest tenth is.
bool inTenths(double v, int lo, int hi)
{
    const double tenths = std::round(v * 10);
    return tenths >= lo && tenths <= hi;
}

QString range(const QString &option, const QString &lo, const QString &hi)
{
    return option + " must be a number from " + lo + " to " + hi;
}

} // namespace

void FractalOptionReader::refuse(const QString &message)
{
    if (error_.isEmpty())
        error_ = message;
}

bool FractalOptionReader::take(const QStringList &args, qsizetype &i)
{
    const QString &arg = args[i];
    MappingParams &p = options_.params;
    if (arg == QLatin1String("--skeleton") || arg == QLatin1String("--no-smoothing")) {
        touched_ = true;
        if (arg == QLatin1String("--skeleton"))
            options_.skeleton = true;
        else
            p.smoothing = false;
        return true;
    }
    static const QStringList withValue = {
        "--fractal", "--aspect",      "--method", "--decay", "--base",  "--falloff", "--squareness",
        "--size",    "--granularity", "--hue",    "--light", "--pinch", "--wave"};
    if (!withValue.contains(arg))
        return false;
    touched_ = true;
    if (i + 1 >= args.size()) {
        refuse(arg + " needs a value");
        return true;
    }
    const QString value = args[++i];
    const std::optional<double> v = number(value);
    if (arg == QLatin1String("--fractal")) {
        given_ = true;
        const QStringList parts = value.split(QLatin1Char(','));
        const auto cx = number(parts.value(0)), cy = number(parts.value(1));
        const auto r = number(parts.value(2));
        if (parts.size() != 3 || !cx || !cy || !r) {
            refuse("--fractal needs CX,CY,R in plane units");
        } else if (*r <= 0) {
            refuse("pull a reference circle");
        } else {
            p.refCenterX = *cx;
            p.refCenterY = *cy;
            p.refRadius = *r;
        }
    } else if (arg == QLatin1String("--aspect")) {
        if (v && std::fabs(*v) <= 1e6)
            p.refAspect = float(*v);
        else
            refuse("--aspect must be a number");
    } else if (arg == QLatin1String("--method")) {
        if (value == QLatin1String("exp") || value == QLatin1String("hyp"))
            p.method = value == QLatin1String("exp") ? MappingParams::Method::Exponential
                                                     : MappingParams::Method::Hyperbolic;
        else
            refuse("--method must be exp or hyp");
    } else if (arg == QLatin1String("--decay")) {
        if (value == QLatin1String("in") || value == QLatin1String("out"))
            p.decay = value == QLatin1String("in") ? MappingParams::Decay::Inward
                                                   : MappingParams::Decay::Outward;
        else
            refuse("--decay must be in or out");
    } else if (arg == QLatin1String("--base")) {
        if (v && inTenths(*v, 14, 40))
            p.expBase = float(*v);
        else
            refuse(range(arg, "1.4", "4.0"));
    } else if (arg == QLatin1String("--falloff")) {
        if (v && inTenths(*v, 5, 20))
            p.falloff = float(*v);
        else
            refuse(range(arg, "0.5", "2.0"));
    } else if (arg == QLatin1String("--squareness")) {
        if (v && inTenths(*v, -10, 30))
            p.squareness = float(*v);
        else
            refuse(range(arg, "-1.0", "3.0"));
    } else if (arg == QLatin1String("--size")) {
        if (v && inTenths(*v, 5, 25))
            p.renderSize = float(*v);
        else
            refuse(range(arg, "0.5", "2.5"));
    } else if (arg == QLatin1String("--granularity")) {
        const std::optional<int> g = wholeNumber(value);
        if (g && *g >= 0 && *g <= 6)
            p.granularity = *g;
        else
            refuse(range(arg, "0", "6"));
    } else if (arg == QLatin1String("--hue") || arg == QLatin1String("--light")) {
        const std::optional<int> s = wholeNumber(value);
        if (s && *s >= 0 && *s <= 360)
            (arg == QLatin1String("--hue") ? options_.hueShift : options_.lightShift) = *s;
        else
            refuse(range(arg, "0", "360"));
    } else if (arg == QLatin1String("--pinch")) {
        ++variants_;
        if (v && inTenths(*v, -10, 10)) {
            p.variant = MappingParams::Variant::Pinch;
            p.pinch = *v;
        } else {
            refuse(range(arg, "-1.0", "1.0"));
        }
    } else if (arg == QLatin1String("--wave")) {
        ++variants_;
        const QStringList parts = value.split(QLatin1Char(','));
        const auto amp = wholeNumber(parts.value(0)), phase = wholeNumber(parts.value(1));
        if (parts.size() == 2 && amp && phase && *amp >= 0 && *amp <= 20 && *phase >= 0 &&
            *phase <= 20) {
            p.variant = MappingParams::Variant::Wave;
            p.waveAmp = *amp / 20.0;
            p.wavePhase = *phase / 10.0 * std::numbers::pi;
        } else {
            refuse("--wave needs AMP,PHASE, each from 0 to 20");
        }
    }
    return true;
}

QString FractalOptionReader::error() const
{
    if (!error_.isEmpty())
        return error_;
    if (touched_ && !given_)
        return "the fractal options need --fractal CX,CY,R";
    if (variants_ > 1)
        return "--pinch and --wave exclude each other";
    return {};
}

std::optional<FractalOptions> FractalOptionReader::options() const
{
    if (!given_ || !error().isEmpty())
        return std::nullopt;
    return options_;
}

} // namespace tessella
