// The choice of a camera's mode (see camera_modes.h).
#include "platform/dshow/gstreamer/camera_modes.h"

#include <gst/video/video.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <tuple>

namespace {

const int kWantedWidth = 640;
const int kWantedHeight = 480;
const int kSmallestWidth = 320;
const int kSmallestHeight = 240;
const int kFastRate = 25;

// Splits `s` into one structure per value of each list among the fields that
// make a mode; ranges are left to the fixation.
void ExpandLists(const GstStructure* s, std::vector<GstStructure*>* out) {
    for (const char* field : {"format", "width", "height", "framerate"}) {
        const GValue* value = gst_structure_get_value(s, field);
        if (value == nullptr || !GST_VALUE_HOLDS_LIST(value)) {
            continue;
        }
        for (guint i = 0; i < gst_value_list_get_size(value); ++i) {
            GstStructure* one = gst_structure_copy(s);
            gst_structure_set_value(one, field, gst_value_list_get_value(value, i));
            ExpandLists(one, out);
            gst_structure_free(one);
        }
        return;
    }
    out->push_back(gst_structure_copy(s));
}

bool UsableMemory(const GstCapsFeatures* features) {
    return features == nullptr || gst_caps_features_is_any(features) ||
           gst_caps_features_is_equal(features, GST_CAPS_FEATURES_MEMORY_SYSTEM_MEMORY);
}

// The mode of one structure without lists; false when we cannot decode it.
bool ModeOf(GstStructure* s, CameraMode* mode) {
    const bool jpeg = gst_structure_has_name(s, "image/jpeg");
    if (!jpeg && !gst_structure_has_name(s, "video/x-raw")) {
        return false;
    }
    mode->jpeg = jpeg;
    if (!jpeg) {
        const char* format = gst_structure_get_string(s, "format");
        const GstVideoFormat known =
            format ? gst_video_format_from_string(format) : GST_VIDEO_FORMAT_UNKNOWN;
        if (known == GST_VIDEO_FORMAT_UNKNOWN || known == GST_VIDEO_FORMAT_ENCODED) {
            return false;
        }
        mode->format = format;
    }
    if (!gst_structure_has_field(s, "width") || !gst_structure_has_field(s, "height")) {
        return false;
    }
    gst_structure_fixate_field_nearest_int(s, "width", kWantedWidth);
    gst_structure_fixate_field_nearest_int(s, "height", kWantedHeight);
    if (!gst_structure_get_int(s, "width", &mode->width) ||
        !gst_structure_get_int(s, "height", &mode->height) || mode->width <= 0 ||
        mode->height <= 0) {
        return false;
    }
    const GValue* rate = gst_structure_get_value(s, "framerate");
    if (rate != nullptr && GST_VALUE_HOLDS_FRACTION_RANGE(rate) &&
        gst_value_get_fraction_numerator(gst_value_get_fraction_range_min(rate)) == 0) {
        return true;  // from 0 up: the rate is not given
    }
    if (rate != nullptr) {
        gst_structure_fixate_field_nearest_fraction(s, "framerate", 30, 1);
    }
    int num = 0;
    int den = 0;
    if (gst_structure_get_fraction(s, "framerate", &num, &den) && num > 0 && den > 0) {
        mode->rateNum = num;
        mode->rateDen = den;
    }
    return true;
}

bool RateKnown(const CameraMode& m) {
    return m.rateNum > 0;
}

bool Fast(const CameraMode& m) {
    return !RateKnown(m) || m.rateNum >= static_cast<int64_t>(kFastRate) * m.rateDen;
}

// a's rate compared with b's: negative, zero or positive (unknown rates are 0).
int CompareRates(const CameraMode& a, const CameraMode& b) {
    if (!RateKnown(a) || !RateKnown(b)) {
        return (RateKnown(a) ? 1 : 0) - (RateKnown(b) ? 1 : 0);
    }
    const int64_t left = static_cast<int64_t>(a.rateNum) * b.rateDen;
    const int64_t right = static_cast<int64_t>(b.rateNum) * a.rateDen;
    return left < right ? -1 : (left > right ? 1 : 0);
}

int SizeDistance(const CameraMode& m) {
    return std::abs(m.width - kWantedWidth) + std::abs(m.height - kWantedHeight);
}

template <class Keep>
std::vector<const CameraMode*> Filter(const std::vector<const CameraMode*>& from, Keep keep) {
    std::vector<const CameraMode*> kept;
    for (const CameraMode* m : from) {
        if (keep(*m)) {
            kept.push_back(m);
        }
    }
    return kept;
}

}  // namespace

std::vector<CameraMode> OfferedModes(const GstCaps* offered) {
    std::vector<CameraMode> modes;
    if (offered == nullptr || gst_caps_is_any(offered)) {
        return modes;
    }
    for (guint i = 0; i < gst_caps_get_size(offered); ++i) {
        if (!UsableMemory(gst_caps_get_features(offered, i))) {
            continue;
        }
        std::vector<GstStructure*> simple;
        ExpandLists(gst_caps_get_structure(offered, i), &simple);
        for (GstStructure* s : simple) {
            CameraMode mode;
            if (ModeOf(s, &mode)) {
                modes.push_back(mode);
            }
            gst_structure_free(s);
        }
    }
    return modes;
}

bool ChooseMode(const std::vector<CameraMode>& modes, CameraMode* chosen) {
    std::vector<const CameraMode*> pool;
    for (const CameraMode& m : modes) {
        pool.push_back(&m);
    }
    if (pool.empty()) {
        return false;
    }
    std::vector<const CameraMode*> fast = Filter(pool, Fast);
    if (!fast.empty()) {
        pool = fast;
    } else {
        const CameraMode* fastest = pool.front();
        for (const CameraMode* m : pool) {
            if (CompareRates(*m, *fastest) > 0) {
                fastest = m;
            }
        }
        pool = Filter(pool, [&](const CameraMode& m) { return CompareRates(m, *fastest) == 0; });
    }
    std::vector<const CameraMode*> big = Filter(pool, [](const CameraMode& m) {
        return m.width >= kSmallestWidth && m.height >= kSmallestHeight;
    });
    if (!big.empty()) {
        pool = big;
    }
    const CameraMode* sized = pool.front();
    for (const CameraMode* m : pool) {
        const int64_t area = static_cast<int64_t>(m->width) * m->height;
        const int64_t sizedArea = static_cast<int64_t>(sized->width) * sized->height;
        if (SizeDistance(*m) < SizeDistance(*sized) ||
            (SizeDistance(*m) == SizeDistance(*sized) && area > sizedArea)) {
            sized = m;
        }
    }
    pool = Filter(pool, [&](const CameraMode& m) {
        return m.width == sized->width && m.height == sized->height;
    });
    auto key = [](const CameraMode& m) {
        const double rate = RateKnown(m) ? static_cast<double>(m.rateNum) / m.rateDen : 0;
        return std::make_tuple(m.jpeg, m.format != "BGR", !RateKnown(m), std::fabs(rate - 30),
                               -rate);
    };
    const CameraMode* best = pool.front();
    for (const CameraMode* m : pool) {
        if (key(*m) < key(*best)) {
            best = m;
        }
    }
    *chosen = *best;
    return true;
}

GstCaps* ModeCaps(const CameraMode& mode) {
    GstCaps* caps =
        gst_caps_new_simple(mode.jpeg ? "image/jpeg" : "video/x-raw", "width", G_TYPE_INT,
                            mode.width, "height", G_TYPE_INT, mode.height, nullptr);
    if (!mode.jpeg) {
        gst_caps_set_simple(caps, "format", G_TYPE_STRING, mode.format.c_str(), nullptr);
    }
    if (RateKnown(mode)) {
        gst_caps_set_simple(caps, "framerate", GST_TYPE_FRACTION, mode.rateNum, mode.rateDen,
                            nullptr);
    }
    return caps;
}

std::string DescribeMode(const CameraMode& mode) {
    char text[160];
    std::string rate = "the camera's own rate";
    if (RateKnown(mode)) {
        char number[32];
        if (mode.rateNum % mode.rateDen == 0) {
            std::snprintf(number, sizeof number, "%d", mode.rateNum / mode.rateDen);
        } else {
            std::snprintf(number, sizeof number, "%.2f",
                          static_cast<double>(mode.rateNum) / mode.rateDen);
        }
        rate = std::string(number) + " frames a second";
    }
    std::snprintf(text, sizeof text, "%s %dx%d at %s", mode.jpeg ? "JPEG" : mode.format.c_str(),
                  mode.width, mode.height, rate.c_str());
    return text;
}
