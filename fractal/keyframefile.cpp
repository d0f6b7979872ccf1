// SPDX-License-Identifier: GPL-3.0-or-later
#include "fractal/keyframefile.h"

#include "platform/fileio.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <cmath>

namespace tessella {

namespace {

constexpr char kFormatName[] = "tessella-keyframes";
constexpr int kFormatVersion = 1;
// 32767 key frames of about 400 bytes each, with room to spare.
constexpr qint64 kMaxFileBytes = qint64(32) << 20;
// Coordinates and lengths far beyond any design, small enough that the path's arithmetic
// stays finite.
constexpr double kMaxLength = 1e12;

struct NumberRule
{
    const char *name;
    double lo;
    double hi;
    bool whole;
};

// The fields of a key frame in their record order; lengths in plane units, the rest the
// panel's slider positions.
// clang-format off
constexpr std::array<NumberRule, 15> kKeyRules = {{
    {"centerX", -kMaxLength, kMaxLength, false}, {"centerY", -kMaxLength, kMaxLength, false},
    {"cpInX", -kMaxLength, kMaxLength, false},   {"cpInY", -kMaxLength, kMaxLength, false},
    {"cpOutX", -kMaxLength, kMaxLength, false},  {"cpOutY", -kMaxLength, kMaxLength, false},
    {"radius", 0, kMaxLength, false},            {"aspect", -kMaxLength, kMaxLength, false},
    {"falloffValue", 5, 20, false},              {"baseValue", 14, 40, true},
    {"granularityValue", 0, 6, true},            {"sizeValue", 5, 25, true},
    {"squareValue", -10, 30, true},              {"hueValue", 0, 360, true},
    {"lightValue", 0, 360, true},
}};
// clang-format on

std::array<double, 15> keyValues(const KeyFrame &f)
{
    return {f.centerX,
            f.centerY,
            f.cpInX,
            f.cpInY,
            f.cpOutX,
            f.cpOutY,
            f.radius,
            f.aspect,
            f.falloffValue,
            double(f.baseValue),
            double(f.granularityValue),
            double(f.sizeValue),
            double(f.squareValue),
            double(f.hueValue),
            double(f.lightValue)};
}

// Every value has passed its rule, so each conversion is exact or a float rounding.
KeyFrame keyFromValues(const std::array<double, 15> &v)
{
    KeyFrame f;
    f.centerX = v[0];
    f.centerY = v[1];
    f.cpInX = v[2];
    f.cpInY = v[3];
    f.cpOutX = v[4];
    f.cpOutY = v[5];
    f.radius = float(v[6]);
    f.aspect = float(v[7]);
    f.falloffValue = v[8];
    f.baseValue = int16_t(v[9]);
    f.granularityValue = int16_t(v[10]);
    f.sizeValue = int16_t(v[11]);
    f.squareValue = int16_t(v[12]);
    f.hueValue = int32_t(v[13]);
    f.lightValue = int32_t(v[14]);
    return f;
}

struct LiveInt
{
    NumberRule rule;
    int PanelValues::*member;
};

// clang-format off
const LiveInt kLiveInts[] = {
    {{"size", 5, 25, true}, &PanelValues::size},
    {{"square", -10, 30, true}, &PanelValues::square},
    {{"falloff", 5, 20, true}, &PanelValues::falloff},
    {{"base", 14, 40, true}, &PanelValues::base},
    {{"granularity", 0, 6, true}, &PanelValues::granularity},
    {{"pinch", -10, 10, true}, &PanelValues::pinch},
    {{"amp", 0, 20, true}, &PanelValues::amp},
    {{"phi", 0, 20, true}, &PanelValues::phi},
    {{"hue", 0, 360, true}, &PanelValues::hue},
    {{"light", 0, 360, true}, &PanelValues::light},
};
const std::pair<const char *, bool PanelValues::*> kLiveBools[] = {
    {"smoothing", &PanelValues::smoothing}, {"exponential", &PanelValues::exponential},
    {"inward", &PanelValues::inward},       {"pinchOn", &PanelValues::pinchOn},
    {"waveOn", &PanelValues::waveOn},
};
// clang-format on

QString quoted(const char *name)
{
    return QLatin1Char('"') + QLatin1String(name) + QLatin1Char('"');
}

// Reads one number by its rule; on refusal `why` says which field and what it must be.
bool readNumber(const QJsonObject &o, const NumberRule &r, const QString &where, double &out,
                QString &why)
{
    const QJsonValue v = o.value(QLatin1String(r.name));
    const QString field = where + quoted(r.name);
    if (v.isUndefined()) {
        why = field + " is missing";
        return false;
    }
    if (!v.isDouble()) {
        why = field + " is not a number";
        return false;
    }
    out = v.toDouble();
    if (!std::isfinite(out) || out < r.lo || out > r.hi || (r.whole && out != std::floor(out))) {
        why = field + " must be a " + (r.whole ? "whole number" : "number") + " from " +
              QString::number(r.lo) + " to " + QString::number(r.hi);
        return false;
    }
    return true;
}

// A missing or wrong-typed "live" reads as an object without fields and is refused as such.
bool readLive(const QJsonValue &value, PanelValues &live, QString &why)
{
    const QJsonObject o = value.toObject();
    const QString where = QStringLiteral("live ");
    for (const LiveInt &f : kLiveInts) {
        double v = 0;
        if (!readNumber(o, f.rule, where, v, why))
            return false;
        live.*f.member = int(v);
    }
    for (const auto &[name, member] : kLiveBools) {
        const QJsonValue v = o.value(QLatin1String(name));
        if (!v.isBool()) {
            why = where + quoted(name) + " must be true or false";
            return false;
        }
        live.*member = v.toBool();
    }
    if (live.pinchOn && live.waveOn) {
        why = where + "has both pinch and wave on";
        return false;
    }
    return true;
}

bool readKeyFrames(const QJsonValue &value, int framesPerKey, std::vector<KeyFrame> &keys,
                   QString &why)
{
    const QJsonArray list = value.toArray();
    if (!value.isArray() || list.isEmpty()) {
        why = quoted("keyFrames") + " must be a list of at least one key frame";
        return false;
    }
    // The frame total in 64 bits: a long list must not wrap around.
    if ((list.size() - 1) * framesPerKey + 1 > kMaxFrames) {
        why = QString::number(list.size()) + " key frames at " + QString::number(framesPerKey) +
              " frames per key frame make more than " + QString::number(kMaxFrames) + " frames";
        return false;
    }
    keys.clear();
    keys.reserve(std::size_t(list.size()));
    for (qsizetype k = 0; k < list.size(); ++k) {
        // Likewise a key frame that is not an object.
        const QString where = "key frame " + QString::number(k) + ": ";
        const QJsonObject o = list[k].toObject();
        std::array<double, 15> v{};
        for (std::size_t i = 0; i < kKeyRules.size(); ++i)
            if (!readNumber(o, kKeyRules[i], where, v[i], why))
                return false;
        keys.push_back(keyFromValues(v));
    }
    return true;
}

// Foreign and newer files are told apart from damaged ones, so the message says which.
std::optional<KeyFrameSet> fromJson(const QByteArray &bytes, QString &why)
{
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        why = "damaged file: " + parseError.errorString() + " at byte " +
              QString::number(parseError.offset);
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    if (!doc.isObject() || root.value("format").toString() != QLatin1String(kFormatName)) {
        why = "not a key-frame file";
        return std::nullopt;
    }
    const double v = root.value("version").toDouble(-1); // -1 when not a number
    if (v < 1 || v != std::floor(v)) {                   // also NaN; infinity counts as newer
        why = quoted("version") + " must be a whole number from 1";
        return std::nullopt;
    }
    if (v > kFormatVersion) {
        why = "written by a newer version of Tessella (key-frame file version " +
              QString::number(v) + "; this one reads version " + QString::number(kFormatVersion) +
              ")";
        return std::nullopt;
    }
    KeyFrameSet set;
    double perKey = 0;
    if (!readNumber(root, {"framesPerKey", 1, kMaxFrames, true}, QString(), perKey, why))
        return std::nullopt;
    set.framesPerKey = int(perKey);
    if (!readLive(root.value("live"), set.live, why) ||
        !readKeyFrames(root.value("keyFrames"), set.framesPerKey, set.keyFrames, why))
        return std::nullopt;
    return set;
}

QByteArray toJson(const KeyFrameSet &set)
{
    QJsonObject live;
    for (const LiveInt &f : kLiveInts)
        live.insert(QLatin1String(f.rule.name), set.live.*f.member);
    for (const auto &[name, member] : kLiveBools)
        live.insert(QLatin1String(name), set.live.*member);
    QJsonArray keys;
    for (const KeyFrame &f : set.keyFrames) {
        QJsonObject o;
        const std::array<double, 15> v = keyValues(f);
        for (std::size_t i = 0; i < kKeyRules.size(); ++i)
            o.insert(QLatin1String(kKeyRules[i].name), v[i]);
        keys.append(o);
    }
    QJsonObject root;
    root.insert("format", QLatin1String(kFormatName));
    root.insert("version", kFormatVersion);
    root.insert("framesPerKey", set.framesPerKey);
    root.insert("live", live);
    root.insert("keyFrames", keys);
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString message(const char *headline, const QString &path, const QString &why)
{
    return QLatin1String(headline) + QLatin1Char('\n') + path + QLatin1Char('\n') + why;
}

} // namespace

bool saveKeyFrameFile(const QString &path, const KeyFrameSet &set, QString *error)
{
    const QByteArray bytes = toJson(set);
    // Only what the reader takes back is written, so a saved set can always be loaded.
    QString why;
    if (!fromJson(bytes, why) || !writeFileAtomically(path, bytes, &why)) {
        if (error)
            *error = message("key frames not saved", path, why);
        return false;
    }
    return true;
}

std::optional<KeyFrameSet> loadKeyFrameFile(const QString &path, QString *error)
{
    const ReadFileResult file = readRegularFile(path, kMaxFileBytes);
    QString why = file.error;
    std::optional<KeyFrameSet> set;
    if (file.ok)
        set = fromJson(file.bytes, why);
    if (!set && error)
        *error = message("key frames not loaded", path, why);
    return set;
}

} // namespace tessella
