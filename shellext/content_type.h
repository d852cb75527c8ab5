#pragma once
// Whether a file's extension is registered in HKEY_CLASSES_ROOT as a JPEG or TIFF image.

#include <windows.h>

enum class ImageKind { OTHER, JPEG, TIFF };

// S_OK with *kind set; or the registry error as HRESULT, or E_OUTOFMEMORY. An extension that
// is not registered at all is OTHER.
HRESULT FindImageKind(const WCHAR* path, ImageKind* kind);
