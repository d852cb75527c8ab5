#pragma once
// The formats the command reads: one row per content type, with the kind of file it makes and
// whether the user must switch it on (the "Formats" value) before the item is offered. The
// menu, the installer's /formats, the presets and the benchmarks all follow this table.

#include <windows.h>

#include "common/file_kind.h"

enum class FormatGroup : uint8_t { PHOTO, VIDEO, RAW };

struct Format {
    const WCHAR* contentType;
    FileKind kind;
    bool switched;
    FormatGroup group;
    // The extension a "Formats" entry may name instead, for a raw whose extension Windows
    // registers without a content type, or not at all; null for the other rows.
    const WCHAR* extension = nullptr;
};

constexpr bool ALWAYS = false;
constexpr bool SWITCHED = true;

constexpr Format FORMATS[] = {
    {L"image/jpeg", FileKind::JPEG, ALWAYS, FormatGroup::PHOTO},
    {L"image/tiff", FileKind::TIFF, ALWAYS, FormatGroup::PHOTO},
    {L"image/heic", FileKind::HEIF, SWITCHED, FormatGroup::PHOTO},
    {L"image/heif", FileKind::HEIF, SWITCHED, FormatGroup::PHOTO},
    {L"image/avif", FileKind::HEIF, SWITCHED, FormatGroup::PHOTO},
    {L"image/webp", FileKind::WEBP, SWITCHED, FormatGroup::PHOTO},
    {L"image/png", FileKind::PNG, SWITCHED, FormatGroup::PHOTO},
    {L"video/mp4", FileKind::VIDEO, SWITCHED, FormatGroup::VIDEO},
    {L"video/quicktime", FileKind::VIDEO, SWITCHED, FormatGroup::VIDEO},
    {L"video/3gpp", FileKind::VIDEO, SWITCHED, FormatGroup::VIDEO},
    // Camera raws that are TIFF files with the GPS pointer in their first directory; Olympus and
    // Panasonic put their own magic number in the TIFF header.
    {L"image/DNG", FileKind::TIFF_RAW, SWITCHED, FormatGroup::RAW, L".dng"},
    {L"image/CR2", FileKind::TIFF_RAW, SWITCHED, FormatGroup::RAW, L".cr2"},
    {L"image/NEF", FileKind::TIFF_RAW, SWITCHED, FormatGroup::RAW, L".nef"},
    {L"image/NRW", FileKind::TIFF_RAW, SWITCHED, FormatGroup::RAW, L".nrw"},
    {L"image/ARW", FileKind::TIFF_RAW, SWITCHED, FormatGroup::RAW, L".arw"},
    {L"image/PEF", FileKind::TIFF_RAW, SWITCHED, FormatGroup::RAW, L".pef"},
    {L"image/SRW", FileKind::TIFF_RAW, SWITCHED, FormatGroup::RAW, L".srw"},
    {L"image/ORF", FileKind::ORF, SWITCHED, FormatGroup::RAW, L".orf"},
    {L"image/RW2", FileKind::RW2, SWITCHED, FormatGroup::RAW, L".rw2"},
    // Canon's raw in the ISO base media file format, with its GPS directory in a box of its own.
    {L"image/CR3", FileKind::CR3, SWITCHED, FormatGroup::RAW, L".cr3"},
};
