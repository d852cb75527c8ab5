// The GPS position through Exiv2, as a program using it would read it: the image opened by
// path, its metadata read, the four GPS keys looked up.
#include <exiv2/exiv2.hpp>

#include "peer_timing.h"

namespace {

constexpr long RATIONALS = 3;
constexpr double MINUTES_PER_DEGREE = 60;
constexpr double SECONDS_PER_DEGREE = 3600;

const Exiv2::ExifKey LATITUDE_REF("Exif.GPSInfo.GPSLatitudeRef");
const Exiv2::ExifKey LATITUDE("Exif.GPSInfo.GPSLatitude");
const Exiv2::ExifKey LONGITUDE_REF("Exif.GPSInfo.GPSLongitudeRef");
const Exiv2::ExifKey LONGITUDE("Exif.GPSInfo.GPSLongitude");

bool ReadReference(Exiv2::ExifData& exif, const Exiv2::ExifKey& key, char positive, char negative,
                   double* sign) {
    const auto entry = exif.findKey(key);
    if (entry == exif.end()) {
        return false;
    }
    const std::string text = entry->toString();
    *sign = !text.empty() && text[0] == positive ? 1 : -1;
    return !text.empty() && (text[0] == positive || text[0] == negative);
}

bool ReadAngle(Exiv2::ExifData& exif, const Exiv2::ExifKey& key, double* degrees) {
    const auto entry = exif.findKey(key);
    if (entry == exif.end() || entry->count() != RATIONALS) {
        return false;
    }
    const double divisors[RATIONALS] = {1, MINUTES_PER_DEGREE, SECONDS_PER_DEGREE};
    *degrees = 0;
    for (long i = 0; i < RATIONALS; ++i) {
        const Exiv2::Rational part = entry->toRational(i);
        if (part.second == 0) {
            return false;
        }
        *degrees += static_cast<double>(part.first) / part.second / divisors[i];
    }
    return true;
}

bool LookUp(const char* path, Position* position) {
    try {
        Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(path);
        image->readMetadata();
        Exiv2::ExifData& exif = image->exifData();
        double north = 0;
        double east = 0;
        const bool found = ReadReference(exif, LATITUDE_REF, 'N', 'S', &north) &&
                           ReadAngle(exif, LATITUDE, &position->latitude) &&
                           ReadReference(exif, LONGITUDE_REF, 'E', 'W', &east) &&
                           ReadAngle(exif, LONGITUDE, &position->longitude);
        position->latitude *= north;
        position->longitude *= east;
        return found;
    } catch (const Exiv2::AnyError&) {
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    // Warnings about the files' contents would only fill the log.
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    // Exiv2 0.27 reads HEIF and AVIF files only once a program switches its BMFF reader on.
    Exiv2::enableBMFF(true);
    Exiv2::XmpParser::initialize();
    const int result = RunPeer(argc, argv, LookUp);
    Exiv2::XmpParser::terminate();
    return result;
}
