#pragma once

#include <cstdint>

// The fixed part of a version record, laid out as Windows program files carry it in their
// version resource. Our own executable carries one too, in an ELF section of its own.
struct FesteVersionsInfo
{
    uint32_t dwSignature;
    uint32_t dwStrucVersion;
    uint32_t dwFileVersionMS;
    uint32_t dwFileVersionLS;
    uint32_t dwProductVersionMS;
    uint32_t dwProductVersionLS;
    uint32_t dwFileFlagsMask;
    uint32_t dwFileFlags;
    uint32_t dwFileOS;
    uint32_t dwFileType;
    uint32_t dwFileSubtype;
    uint32_t dwFileDateMS;
    uint32_t dwFileDateLS;
};
static_assert(sizeof(FesteVersionsInfo) == 52);

inline constexpr uint32_t VersionsSignatur = 0xFEEF04BD;

// Name of the ELF section that holds the record of our executable.
inline constexpr char VersionsAbschnitt[] = ".projektversion";
