# The fuzz targets, one entry each: TARGET:SEEDS:DICTIONARY:PROPERTY. SEEDS names the folder of
# the target's cases under seeds/ and regressions/ here and seeds/ of the build folder,
# DICTIONARY a file of dict/, and PROPERTY the check of fuzz_property.h that every input must
# keep; fuzz_target.cpp is built once per entry to call it. CMakeLists.txt here builds the
# targets and fuzz_targets.cmake runs them under ctest; docs/fuzzing.md says what each reads.
set(QUORIEL_FUZZ_TARGETS
    fuzz_jpeg_reader:jpeg:exif.dict:CheckJpegReading
    fuzz_tiff_reader:tiff:exif.dict:CheckTiffReading
    fuzz_template_expansion:template:template.dict:CheckTemplateInput
    fuzz_heif_locator:heif:heif.dict:CheckHeifReading
    fuzz_webp_locator:webp:webp.dict:CheckWebpReading
    fuzz_png_locator:png:png.dict:CheckPngReading
    fuzz_video_locator:video:video.dict:CheckVideoReading
    fuzz_cr3_locator:cr3:cr3.dict:CheckCr3Reading
    fuzz_iso6709:iso6709:iso6709.dict:CheckIso6709Text)

# Sets PREFIX_TARGET, PREFIX_SEEDS, PREFIX_DICTIONARY and PREFIX_PROPERTY from one entry.
function(quoriel_fuzz_entry entry prefix)
    string(REPLACE ":" ";" values ${entry})
    set(fields TARGET SEEDS DICTIONARY PROPERTY)
    foreach(field value IN ZIP_LISTS fields values)
        set(${prefix}_${field} ${value} PARENT_SCOPE)
    endforeach()
endfunction()
