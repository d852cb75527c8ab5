// The GPS position through libexif, as a program using it would read it: the file loaded by
// path, the four GPS entries taken from the GPS directory.
#include <libexif/exif-data.h>

#include <cstring>

#include "peer_timing.h"

namespace {

constexpr unsigned RATIONALS = 3;
constexpr unsigned RATIONAL_BYTES = 8;
constexpr double MINUTES_PER_DEGREE = 60;
constexpr double SECONDS_PER_DEGREE = 3600;

// libexif gives GPS tags the numbers they share with other directories' tags.
ExifEntry* GpsEntry(ExifData* data, int tag) {
    return exif_content_get_entry(data->ifd[EXIF_IFD_GPS], static_cast<ExifTag>(tag));
}

bool ReadReference(ExifEntry* entry, char positive, char negative, double* sign) {
    if (entry == nullptr || entry->format != EXIF_FORMAT_ASCII || entry->size < 1) {
        return false;
    }
    const char letter = static_cast<char>(entry->data[0]);
    *sign = letter == positive ? 1 : -1;
    return letter == positive || letter == negative;
}

bool ReadAngle(ExifEntry* entry, ExifByteOrder order, double* degrees) {
    if (entry == nullptr || entry->format != EXIF_FORMAT_RATIONAL ||
        entry->components != RATIONALS || entry->size < RATIONALS * RATIONAL_BYTES) {
        return false;
    }
    const double divisors[RATIONALS] = {1, MINUTES_PER_DEGREE, SECONDS_PER_DEGREE};
    *degrees = 0;
    for (unsigned i = 0; i < RATIONALS; ++i) {
        const ExifRational part = exif_get_rational(entry->data + i * RATIONAL_BYTES, order);
        if (part.denominator == 0) {
            return false;
        }
        *degrees += static_cast<double>(part.numerator) / part.denominator / divisors[i];
    }
    return true;
}

bool LookUp(const char* path, Position* position) {
    ExifData* data = exif_data_new_from_file(path);
    if (data == nullptr) {
        return false;
    }
    const ExifByteOrder order = exif_data_get_byte_order(data);
    double north = 0;
    double east = 0;
    const bool found =
        ReadReference(GpsEntry(data, EXIF_TAG_GPS_LATITUDE_REF), 'N', 'S', &north) &&
        ReadAngle(GpsEntry(data, EXIF_TAG_GPS_LATITUDE), order, &position->latitude) &&
        ReadReference(GpsEntry(data, EXIF_TAG_GPS_LONGITUDE_REF), 'E', 'W', &east) &&
        ReadAngle(GpsEntry(data, EXIF_TAG_GPS_LONGITUDE), order, &position->longitude);
    exif_data_unref(data);
    position->latitude *= north;
    position->longitude *= east;
    return found;
}

}  // namespace

int main(int argc, char** argv) {
    return RunPeer(argc, argv, LookUp);
}
