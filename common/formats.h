#pragma once
// The formats the command reads: one row per content type, with the kind of file it makes and
// whether the user must switch it on (the "Formats" value) before the item is offered. The
// menu, the installer's /formats, the presets and the benchmarks all follow this table.

#include <windows.h>

#include "common/file_kind.h"

enum class FormatGroup : uint8_t { PHOTO, VIDEO };

struct Format {
    const WCHAR* contentType;
    FileKind kind;
    bool switched;
    FormatGroup group;
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
};
