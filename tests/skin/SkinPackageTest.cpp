// The skin package as the installer carries it: read from the resources of the built
// RavellInstaller.exe (its path is the first argument) and checked against skin/data.
#include "skin/SkinFiles.h"
#include "skin/SkinPackage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <ostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Skin::CSkinPackage;
using Skin::CSkinResources;
using Skin::FindPackageEntry;
using Skin::kPackageNotFound;
using Skin::kPackageOk;
using Skin::OpenPackageFromMemory;
using Skin::ReadPackageEntry;
using Skin::SkinMarkupFile;
using Skin::SkinPackageEntry;
using Bytes = std::vector<unsigned char>;

// Made with 7zz from four files: empty.xml (0 bytes), big.xml (4194305 bytes "a"), limit.xml
// (4194304 bytes "b") and ok.xml ('<Window size="10,10"/>'); one solid LZMA2 block:
//   7zz a -t7z -m0=lzma2 -mx=9 -ms=on -mhc=on -mtm=off -mtc=off -mta=off edge.7z .
const unsigned char kEdgeArchive[] = {
    0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C, 0x00, 0x04, 0xF0, 0xAF, 0x4E, 0x76, 0xA9, 0x05, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xBF, 0x06, 0x91, 0x18,
    0xFF, 0xF7, 0x9A, 0x01, 0x6B, 0x5D, 0x00, 0x30, 0xEF, 0xFB, 0xBF, 0xFE, 0xA3, 0xB1, 0x5E, 0xE5,
    0xF8, 0x3F, 0xB2, 0xAA, 0x26, 0x55, 0xF8, 0x68, 0x70, 0x41, 0x70, 0x15, 0x0F, 0x8D, 0xFD, 0x1E,
    0x4C, 0x1B, 0x8A, 0x42, 0xB7, 0x19, 0xF4, 0x69, 0x18, 0x71, 0xAE, 0x66, 0x23, 0x8A, 0x8A, 0x4D,
    0x2F, 0xA3, 0x0D, 0xD9, 0x7F, 0xA6, 0xE3, 0x8C, 0x23, 0x11, 0x53, 0xE0, 0x59, 0x18, 0xC5, 0x75,
    0x8A, 0xE2, 0x77, 0xF8, 0xB6, 0x94, 0x7F, 0x0C, 0x6A, 0xC0, 0xDE, 0x74, 0x49, 0x64, 0xE2, 0xE9,
    0x5C, 0x53, 0xB2, 0x04, 0xD8, 0xF7, 0x44, 0x0C, 0xAB, 0x5F, 0x0D, 0x6D, 0x46, 0xE9, 0xE5, 0xC3,
    0x76, 0x88, 0xB7, 0x96, 0x57, 0xAC, 0xB6, 0x4D, 0xE1, 0x69, 0x1D, 0x6F, 0xFB, 0x4B, 0x88, 0x10,
    0x6C, 0x42, 0xCB, 0x88, 0x3F, 0x5C, 0x00, 0x8F, 0xD0, 0x4E, 0xAF, 0x26, 0x28, 0x94, 0x71, 0x1F,
    0x3D, 0x8F, 0x24, 0xE1, 0x70, 0x9E, 0xA7, 0x23, 0x5F, 0xEC, 0x28, 0xCB, 0x85, 0xD1, 0x95, 0x98,
    0x8A, 0x7E, 0x2A, 0x91, 0xF2, 0x27, 0x75, 0xF7, 0x19, 0xC0, 0x06, 0x98, 0x4D, 0x98, 0xFD, 0xD8,
    0xAF, 0xD5, 0x90, 0x0F, 0xC4, 0x25, 0x53, 0xF8, 0xF5, 0x91, 0x36, 0x31, 0x05, 0xA5, 0xB0, 0xEE,
    0x6F, 0xC1, 0x70, 0x4D, 0x47, 0x0C, 0xD1, 0x91, 0x11, 0xAA, 0xAD, 0x60, 0x1D, 0xBA, 0xCE, 0xB1,
    0x27, 0x18, 0x5C, 0x59, 0x86, 0xE9, 0x66, 0x52, 0x58, 0xBE, 0xE9, 0x76, 0xAC, 0x59, 0xE4, 0xE5,
    0x5B, 0x05, 0x08, 0xF9, 0xC7, 0xDA, 0xAD, 0xFC, 0xFB, 0x52, 0x2B, 0x74, 0xCD, 0x1E, 0x5B, 0x20,
    0x42, 0xF9, 0xDD, 0x53, 0x3D, 0xF8, 0x29, 0x64, 0x09, 0x3B, 0x80, 0xCB, 0x2A, 0x6C, 0xDF, 0xB5,
    0x3B, 0xF0, 0xC4, 0xBD, 0x2E, 0x5F, 0xAA, 0x0F, 0x3E, 0x4B, 0x66, 0x42, 0x90, 0x13, 0x0E, 0xFF,
    0x10, 0x93, 0xF8, 0x71, 0x78, 0x59, 0xF8, 0x0B, 0xCD, 0xFF, 0x95, 0x28, 0x46, 0x0F, 0xA9, 0xFC,
    0x7C, 0xDE, 0xFB, 0x9A, 0x30, 0x2E, 0x56, 0xC0, 0x8F, 0x85, 0xF3, 0x83, 0x81, 0xC0, 0x65, 0xC4,
    0x25, 0x53, 0xF8, 0xF5, 0x91, 0x36, 0x31, 0x05, 0xA5, 0xB0, 0xEE, 0x6F, 0xC1, 0x70, 0x4D, 0x47,
    0x0C, 0xD1, 0x91, 0x11, 0xAA, 0xAD, 0x60, 0x1D, 0xBA, 0xCE, 0xB1, 0x27, 0x18, 0x5C, 0x59, 0x86,
    0xE9, 0x66, 0x52, 0x58, 0xBE, 0xE9, 0x76, 0xAC, 0x59, 0xE4, 0xE5, 0x5B, 0x05, 0x08, 0xF9, 0xC7,
    0xDA, 0xAD, 0xFC, 0xFB, 0x52, 0x2B, 0x74, 0xCD, 0x1E, 0x5B, 0x20, 0x42, 0xF9, 0xDD, 0x53, 0x3D,
    0xF8, 0x29, 0x64, 0x09, 0x3B, 0x80, 0xCB, 0x2A, 0x6C, 0xDF, 0xB5, 0x3B, 0xF0, 0xC4, 0xB9, 0x2B,
    0xEA, 0x97, 0x9F, 0xF7, 0x99, 0x01, 0x2B, 0x00, 0xEC, 0x73, 0x53, 0xA7, 0xFD, 0xBE, 0xAE, 0x7C,
    0x31, 0x1A, 0x9F, 0xB7, 0x8D, 0x31, 0x6E, 0x70, 0x9E, 0xA7, 0x23, 0x5F, 0xEC, 0x28, 0xCB, 0x85,
    0xD1, 0x95, 0x98, 0x8A, 0x7E, 0x2A, 0x91, 0xF2, 0x27, 0x75, 0xF7, 0x19, 0xC0, 0x06, 0x98, 0x4D,
    0x98, 0xFD, 0xD8, 0xAF, 0xD5, 0x90, 0x0F, 0xC4, 0x25, 0x53, 0xF8, 0xF5, 0x91, 0x36, 0x31, 0x05,
    0xA5, 0xB0, 0xEE, 0x6F, 0xC1, 0x70, 0x4D, 0x47, 0x0C, 0xD1, 0x91, 0x11, 0xAA, 0xAD, 0x60, 0x1D,
    0xBA, 0xCE, 0xB1, 0x27, 0x18, 0x5C, 0x59, 0x86, 0xE9, 0x66, 0x52, 0x58, 0xBE, 0xE9, 0x76, 0xAC,
    0x59, 0xE4, 0xE5, 0x5B, 0x05, 0x08, 0xF9, 0xC7, 0xDA, 0xAD, 0xFC, 0xFB, 0x52, 0x2B, 0x74, 0xCD,
    0x1E, 0x5B, 0x20, 0x42, 0xF9, 0xDD, 0x53, 0x3D, 0xF8, 0x29, 0x64, 0x09, 0x3B, 0x80, 0xCB, 0x2A,
    0x6C, 0xDF, 0xB5, 0x3B, 0xF0, 0xC4, 0xBD, 0x2E, 0x5F, 0xAA, 0x0F, 0x3E, 0x4B, 0x66, 0x42, 0x90,
    0x13, 0x0E, 0xFF, 0x10, 0x93, 0xF8, 0x71, 0x78, 0x59, 0xF8, 0x0B, 0xCD, 0xFF, 0x95, 0x28, 0x46,
    0x0F, 0xA9, 0xFC, 0x7C, 0xDE, 0xFB, 0x9A, 0x30, 0x2E, 0x56, 0xC0, 0x8F, 0x85, 0xF3, 0x83, 0x81,
    0xC0, 0x65, 0xC4, 0x25, 0x53, 0xF8, 0xF5, 0x91, 0x36, 0x31, 0x05, 0xA5, 0xB0, 0xEE, 0x6F, 0xC1,
    0x70, 0x4D, 0x47, 0x0C, 0xD1, 0x91, 0x11, 0xAA, 0xAD, 0x60, 0x1D, 0xBA, 0xCE, 0xB1, 0x27, 0x18,
    0x5C, 0x59, 0x86, 0xE9, 0x66, 0x52, 0x58, 0xBE, 0xE9, 0x76, 0xAC, 0x59, 0xE4, 0xE5, 0x5B, 0x05,
    0x08, 0xF9, 0xC7, 0xDA, 0xAD, 0xFC, 0xFB, 0x52, 0x2B, 0x74, 0xCD, 0x1E, 0x5B, 0x20, 0x42, 0xF9,
    0xDD, 0x53, 0x3D, 0xF8, 0x29, 0x64, 0x09, 0x3B, 0x80, 0xCB, 0x2A, 0x6C, 0xDF, 0xB5, 0x3B, 0xF0,
    0xC4, 0xBD, 0x2E, 0x5F, 0xAA, 0x0F, 0x3E, 0x4B, 0x66, 0x42, 0x90, 0x13, 0x0E, 0xFF, 0x10, 0x93,
    0xF8, 0x71, 0x78, 0x59, 0xF8, 0x0B, 0xCD, 0xFF, 0x95, 0x28, 0x46, 0x0F, 0xA9, 0xFC, 0x7C, 0xDE,
    0xFB, 0x9A, 0x30, 0x2E, 0x56, 0xC0, 0x8F, 0x85, 0xF3, 0x83, 0x81, 0xC0, 0x65, 0xC4, 0x25, 0x46,
    0xFC, 0x1E, 0x52, 0x9F, 0xF7, 0x56, 0x01, 0x2F, 0x00, 0xE3, 0xDF, 0x94, 0x5F, 0xE6, 0xEB, 0x38,
    0x30, 0xF8, 0xA7, 0x45, 0x63, 0x92, 0xA7, 0x1B, 0x16, 0x30, 0x11, 0xFF, 0x95, 0x28, 0x46, 0x0F,
    0xA9, 0xFC, 0x7C, 0xDE, 0xFB, 0x9A, 0x30, 0x2E, 0x56, 0xC0, 0x8F, 0x85, 0xF3, 0x83, 0x81, 0xC0,
    0x65, 0xC4, 0x25, 0x53, 0xF8, 0xF5, 0x91, 0x36, 0x31, 0x05, 0xA5, 0xB0, 0xEE, 0x6F, 0xC1, 0x70,
    0x4D, 0x47, 0x0C, 0xD1, 0x91, 0x11, 0xAA, 0xAD, 0x60, 0x1D, 0xBA, 0xCE, 0xB1, 0x27, 0x18, 0x5C,
    0x59, 0x86, 0xE9, 0x66, 0x52, 0x58, 0xBE, 0xE9, 0x76, 0xAC, 0x59, 0xE4, 0xE5, 0x5B, 0x05, 0x08,
    0xF9, 0xC7, 0xDA, 0xAD, 0xFC, 0xFB, 0x52, 0x2B, 0x74, 0xCD, 0x1E, 0x5B, 0x20, 0x42, 0xF9, 0xDD,
    0x53, 0x3D, 0xF8, 0x29, 0x64, 0x09, 0x3B, 0x80, 0xCB, 0x2A, 0x6C, 0xDF, 0xB5, 0x3B, 0xF0, 0xC4,
    0xBD, 0x2E, 0x5F, 0xAA, 0x0F, 0x3E, 0x4B, 0x66, 0x42, 0x90, 0x13, 0x0E, 0xFF, 0x10, 0x93, 0xF8,
    0x71, 0x78, 0x59, 0xF8, 0x0B, 0xCD, 0xFF, 0x95, 0x28, 0x46, 0x0F, 0xA9, 0xFC, 0x7C, 0xDE, 0xFB,
    0x9A, 0x30, 0x2E, 0x56, 0xC0, 0x8F, 0x85, 0xF3, 0x83, 0x81, 0xC0, 0x65, 0xC4, 0x25, 0x53, 0xF8,
    0xF5, 0x91, 0x36, 0x31, 0x05, 0xA5, 0xB0, 0xEE, 0x6F, 0xC1, 0x70, 0x4D, 0x47, 0x0C, 0xD1, 0x91,
    0x11, 0xAA, 0xAD, 0x60, 0x1D, 0xBA, 0xCE, 0xB1, 0x27, 0x18, 0x5C, 0x59, 0x86, 0xE9, 0x66, 0x52,
    0x58, 0xBE, 0xE9, 0x76, 0xAC, 0x59, 0xE4, 0xE5, 0x5B, 0x05, 0x08, 0xF9, 0xC7, 0xDA, 0xAD, 0xFC,
    0xFB, 0x52, 0x2B, 0x74, 0xCD, 0x1E, 0x5B, 0x20, 0x42, 0xF9, 0xDD, 0x53, 0x3D, 0xF8, 0x29, 0x64,
    0x09, 0x3B, 0x80, 0xCB, 0x2A, 0x6C, 0xDF, 0xB5, 0x3B, 0xF0, 0xC4, 0xBD, 0x2E, 0x5F, 0xAA, 0x0F,
    0x3E, 0x4B, 0x66, 0x42, 0x90, 0x13, 0x0E, 0xFF, 0x10, 0x93, 0xF8, 0x71, 0x78, 0x59, 0xF8, 0x0B,
    0xCD, 0xFF, 0x95, 0x28, 0x46, 0x0F, 0xA9, 0xFC, 0x7C, 0xDE, 0xFB, 0x9A, 0x30, 0x2E, 0x56, 0xC0,
    0x8F, 0x85, 0xF3, 0x83, 0x81, 0xC0, 0x65, 0xC4, 0x25, 0x53, 0xF8, 0xF5, 0x91, 0x36, 0x31, 0x05,
    0xA5, 0xB0, 0xEE, 0x6F, 0xC0, 0x4A, 0x4B, 0xC4, 0x9F, 0xF7, 0x99, 0x01, 0x2B, 0x00, 0xEC, 0x73,
    0x53, 0xA7, 0xFD, 0xBE, 0xAE, 0x7C, 0x31, 0x1A, 0x9F, 0xB7, 0x8D, 0x31, 0x6E, 0x70, 0x9E, 0xA7,
    0x23, 0x5F, 0xEC, 0x28, 0xCB, 0x85, 0xD1, 0x95, 0x98, 0x8A, 0x7E, 0x2A, 0x91, 0xF2, 0x27, 0x75,
    0xF7, 0x19, 0xC0, 0x06, 0x98, 0x4D, 0x98, 0xFD, 0xD8, 0xAF, 0xD5, 0x90, 0x0F, 0xC4, 0x25, 0x53,
    0xF8, 0xF5, 0x91, 0x36, 0x31, 0x05, 0xA5, 0xB0, 0xEE, 0x6F, 0xC1, 0x70, 0x4D, 0x47, 0x0C, 0xD1,
    0x91, 0x11, 0xAA, 0xAD, 0x60, 0x1D, 0xBA, 0xCE, 0xB1, 0x27, 0x18, 0x5C, 0x59, 0x86, 0xE9, 0x66,
    0x52, 0x58, 0xBE, 0xE9, 0x76, 0xAC, 0x59, 0xE4, 0xE5, 0x5B, 0x05, 0x08, 0xF9, 0xC7, 0xDA, 0xAD,
    0xFC, 0xFB, 0x52, 0x2B, 0x74, 0xCD, 0x1E, 0x5B, 0x20, 0x42, 0xF9, 0xDD, 0x53, 0x3D, 0xF8, 0x29,
    0x64, 0x09, 0x3B, 0x80, 0xCB, 0x2A, 0x6C, 0xDF, 0xB5, 0x3B, 0xF0, 0xC4, 0xBD, 0x2E, 0x5F, 0xAA,
    0x0F, 0x3E, 0x4B, 0x66, 0x42, 0x90, 0x13, 0x0E, 0xFF, 0x10, 0x93, 0xF8, 0x71, 0x78, 0x59, 0xF8,
    0x0B, 0xCD, 0xFF, 0x95, 0x28, 0x46, 0x0F, 0xA9, 0xFC, 0x7C, 0xDE, 0xFB, 0x9A, 0x30, 0x2E, 0x56,
    0xC0, 0x8F, 0x85, 0xF3, 0x83, 0x81, 0xC0, 0x65, 0xC4, 0x25, 0x53, 0xF8, 0xF5, 0x91, 0x36, 0x31,
    0x05, 0xA5, 0xB0, 0xEE, 0x6F, 0xC1, 0x70, 0x4D, 0x47, 0x0C, 0xD1, 0x91, 0x11, 0xAA, 0xAD, 0x60,
    0x1D, 0xBA, 0xCE, 0xB1, 0x27, 0x18, 0x5C, 0x59, 0x86, 0xE9, 0x66, 0x52, 0x58, 0xBE, 0xE9, 0x76,
    0xAC, 0x59, 0xE4, 0xE5, 0x5B, 0x05, 0x08, 0xF9, 0xC7, 0xDA, 0xAD, 0xFC, 0xFB, 0x52, 0x2B, 0x74,
    0xCD, 0x1E, 0x5B, 0x20, 0x42, 0xF9, 0xDD, 0x53, 0x3D, 0xF8, 0x29, 0x64, 0x09, 0x3B, 0x80, 0xCB,
    0x2A, 0x6C, 0xDF, 0xB5, 0x3B, 0xF0, 0xC4, 0xBD, 0x2E, 0x5F, 0xAA, 0x0F, 0x3E, 0x4B, 0x66, 0x42,
    0x90, 0x13, 0x0E, 0xFF, 0x10, 0x93, 0xF8, 0x71, 0x78, 0x59, 0xF8, 0x0B, 0xCD, 0xFF, 0x95, 0x28,
    0x46, 0x0F, 0xA9, 0xFC, 0x7C, 0xDE, 0xFB, 0x9A, 0x30, 0x2E, 0x56, 0xC0, 0x8F, 0x85, 0xF3, 0x83,
    0x81, 0xC0, 0x65, 0xC4, 0x25, 0x46, 0xFC, 0x1E, 0x52, 0x80, 0x21, 0xF0, 0x00, 0x1E, 0x00, 0xEC,
    0x2B, 0x3B, 0x9B, 0x33, 0xEB, 0x2C, 0x6B, 0x24, 0xA3, 0xED, 0x4C, 0xBB, 0xD7, 0x73, 0x25, 0xF2,
    0xE2, 0x4F, 0x38, 0x59, 0xE5, 0xE6, 0x09, 0x0B, 0x21, 0x2E, 0x46, 0xC3, 0xA6, 0x00, 0x00, 0x00,
    0x81, 0x33, 0x07, 0xAE, 0x0F, 0xD5, 0x64, 0xD8, 0xC4, 0x97, 0x24, 0xD3, 0xFE, 0xB3, 0x70, 0x22,
    0x09, 0x03, 0xEF, 0x88, 0x45, 0xA7, 0xF0, 0xC9, 0x4F, 0xDE, 0x43, 0xD4, 0x91, 0x72, 0x67, 0xAE,
    0x4E, 0xA1, 0x00, 0x99, 0xD3, 0x2F, 0xE9, 0xD5, 0x3A, 0xDA, 0x91, 0xCA, 0x61, 0xC8, 0x02, 0x05,
    0x44, 0x8D, 0xFE, 0xF1, 0x62, 0x50, 0xB3, 0xAD, 0x7D, 0x6F, 0xF9, 0x65, 0xD4, 0xFC, 0x75, 0xF1,
    0xA9, 0xB7, 0x66, 0x87, 0x0A, 0xA4, 0xAE, 0x0A, 0x82, 0xDF, 0x63, 0x30, 0x3F, 0xFD, 0xE1, 0x67,
    0xCC, 0x59, 0x0E, 0xDA, 0xA0, 0xD3, 0x90, 0x6A, 0x7A, 0x4C, 0x7A, 0x86, 0x17, 0x85, 0x33, 0xC5,
    0x28, 0xC7, 0x14, 0x29, 0x49, 0xBA, 0x80, 0xD5, 0x80, 0x80, 0x6E, 0x95, 0x09, 0x62, 0xF3, 0xE1,
    0x9E, 0x19, 0x26, 0x59, 0x7C, 0xC6, 0x7F, 0xFE, 0xA0, 0x17, 0x06, 0x85, 0x2E, 0x01, 0x09, 0x7B,
    0x00, 0x07, 0x0B, 0x01, 0x00, 0x01, 0x23, 0x03, 0x01, 0x01, 0x05, 0x5D, 0x00, 0x10, 0x00, 0x00,
    0x0C, 0x80, 0xAE, 0x0A, 0x01, 0xA0, 0xED, 0x69, 0xF7, 0x00, 0x00,
};

// Made with 7zz from first.txt, second.txt and third.txt (contents "FIRST-FILE-CONTENT-1111",
// "SECOND-FILE-CONTENT-2222", "THIRD-FILE-CONTENT-3333"), stored, one block per file and a
// plain header, so that a test can damage one file's bytes in place:
//   7zz a -t7z -m0=copy -ms=off -mhc=off -mtm=off -mtc=off -mta=off three.7z first.txt ...
const unsigned char kThreeBlockArchive[] = {
    0x37, 0x7A, 0xBC, 0xAF, 0x27, 0x1C, 0x00, 0x04, 0x99, 0x51, 0xFD, 0xB7, 0x46, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x92, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x3C, 0x26, 0xFB, 0xDD,
    0x46, 0x49, 0x52, 0x53, 0x54, 0x2D, 0x46, 0x49, 0x4C, 0x45, 0x2D, 0x43, 0x4F, 0x4E, 0x54, 0x45,
    0x4E, 0x54, 0x2D, 0x31, 0x31, 0x31, 0x31, 0x53, 0x45, 0x43, 0x4F, 0x4E, 0x44, 0x2D, 0x46, 0x49,
    0x4C, 0x45, 0x2D, 0x43, 0x4F, 0x4E, 0x54, 0x45, 0x4E, 0x54, 0x2D, 0x32, 0x32, 0x32, 0x32, 0x54,
    0x48, 0x49, 0x52, 0x44, 0x2D, 0x46, 0x49, 0x4C, 0x45, 0x2D, 0x43, 0x4F, 0x4E, 0x54, 0x45, 0x4E,
    0x54, 0x2D, 0x33, 0x33, 0x33, 0x33, 0x01, 0x04, 0x06, 0x00, 0x03, 0x09, 0x17, 0x18, 0x17, 0x00,
    0x07, 0x0B, 0x03, 0x00, 0x01, 0x01, 0x00, 0x01, 0x01, 0x00, 0x01, 0x01, 0x00, 0x0C, 0x17, 0x18,
    0x17, 0x00, 0x08, 0x0A, 0x01, 0x8F, 0x0A, 0x17, 0xFD, 0x05, 0x07, 0x1E, 0xC8, 0x94, 0xBD, 0x43,
    0x10, 0x00, 0x00, 0x05, 0x03, 0x19, 0x0C, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x11, 0x3F, 0x00, 0x66, 0x00, 0x69, 0x00, 0x72, 0x00, 0x73, 0x00, 0x74, 0x00,
    0x2E, 0x00, 0x74, 0x00, 0x78, 0x00, 0x74, 0x00, 0x00, 0x00, 0x73, 0x00, 0x65, 0x00, 0x63, 0x00,
    0x6F, 0x00, 0x6E, 0x00, 0x64, 0x00, 0x2E, 0x00, 0x74, 0x00, 0x78, 0x00, 0x74, 0x00, 0x00, 0x00,
    0x74, 0x00, 0x68, 0x00, 0x69, 0x00, 0x72, 0x00, 0x64, 0x00, 0x2E, 0x00, 0x74, 0x00, 0x78, 0x00,
    0x74, 0x00, 0x00, 0x00, 0x19, 0x00, 0x15, 0x0E, 0x01, 0x00, 0x20, 0x80, 0xA4, 0x81, 0x20, 0x80,
    0xA4, 0x81, 0x20, 0x80, 0xA4, 0x81, 0x00, 0x00,
};

constexpr unsigned kPackageFiles = 70;
constexpr unsigned kPackageFolders = 5;

// Set up by main() before the tests run, the way the first window does it.
std::wstring g_installerPath;  // the built RavellInstaller.exe
std::wstring g_skinData;       // skin/data of the source tree, with a trailing backslash
HMODULE g_installer = nullptr;  // loaded as a resource file
bool g_firstLoad = false;
unsigned g_decodesAtFirstWindow = 0;
unsigned g_blockDecodesAtFirstWindow = 0;

std::wstring FullPath(const std::wstring& path) {
    wchar_t full[4096] = {};
    const DWORD n = GetFullPathNameW(path.c_str(), 4096, full, nullptr);
    return n && n < 4096 ? std::wstring(full, n) : path;
}

std::wstring Widen(const char* text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 1) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(static_cast<std::size_t>(n - 1));
    return wide;
}

// skin/data next to this source file (two folders up, then skin/data).
std::wstring SkinDataFolder() {
    std::wstring path = Widen(__FILE__);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    for (int up = 0; up < 3; ++up) {
        const std::size_t slash = path.find_last_of(L'\\');
        if (slash == std::wstring::npos) return std::wstring();
        path.erase(slash);
    }
    return FullPath(path + L"\\skin\\data") + L"\\";
}

bool ReadWholeFile(const std::wstring& path, Bytes* bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) != 0;
    bytes->assign(ok ? static_cast<std::size_t>(size.QuadPart) : 0, 0);
    DWORD got = 0;
    if (ok && !bytes->empty())
        ok = ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &got, nullptr) &&
             got == bytes->size();
    CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        bytes.empty() ||
        (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size());
    CloseHandle(file);
    return ok;
}

Bytes Text(const char* text) { return Bytes(text, text + std::strlen(text)); }

// Every file below a folder: relative name with "/" separators -> content.
void CollectFiles(const std::wstring& folder, const std::wstring& relative,
                  std::map<std::wstring, Bytes>* files, unsigned* folders) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + relative + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ++*folders;
            CollectFiles(folder, relative + name + L"\\", files, folders);
        } else {
            std::wstring key = relative + name;
            std::replace(key.begin(), key.end(), L'\\', L'/');
            ReadWholeFile(folder + relative + name, &(*files)[key]);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

// The raw archive as the installer's resources carry it.
Bytes ResourceArchive() {
    HRSRC info = FindResourceW(g_installer, MAKEINTRESOURCEW(147), L"ZIPRES");
    if (!info) return Bytes();
    HGLOBAL resource = LoadResource(g_installer, info);
    const DWORD size = SizeofResource(g_installer, info);
    const void* locked = resource ? LockResource(resource) : nullptr;
    const auto* data = static_cast<const unsigned char*>(locked);
    return data ? Bytes(data, data + size) : Bytes();
}

Bytes EntryBytes(const CSkinPackage* package, const wchar_t* name) {
    std::uint32_t index = 0;
    std::uint64_t size = 0;
    if (FindPackageEntry(package, name, &index, &size) != kPackageOk) return Bytes();
    Bytes bytes(static_cast<std::size_t>(size));
    if (ReadPackageEntry(package, index, bytes.data()) != kPackageOk) return Bytes();
    return bytes;
}

const SkinPackageEntry* EntryFound(const CSkinPackage* package, const wchar_t* name) {
    std::uint32_t index = 0;
    std::uint64_t size = 0;
    if (FindPackageEntry(package, name, &index, &size) != kPackageOk) return nullptr;
    for (const SkinPackageEntry& entry : package->Entries()) {
        if (entry.index == index) return &entry;
    }
    return nullptr;
}

const CSkinPackage* Installed() { return Skin::SkinResources().GetPackage(); }

// A temporary folder that is the current directory while the test runs.
class InTempFolder : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"skinpkg-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                  std::to_wstring(++counter_);
        RemoveTree(folder_);
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        wchar_t current[MAX_PATH] = {};
        GetCurrentDirectoryW(MAX_PATH, current);
        previous_ = current;
        ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    }
    void TearDown() override {
        SetCurrentDirectoryW(previous_.c_str());
        RemoveTree(folder_);
    }
    // A file below the folder (sub-folders are created), by a "\" separated relative name.
    void Put(const std::wstring& relative, const Bytes& bytes) {
        for (std::size_t slash = relative.find(L'\\'); slash != std::wstring::npos;
             slash = relative.find(L'\\', slash + 1))
            CreateDirectoryW((folder_ + L"\\" + relative.substr(0, slash)).c_str(), nullptr);
        ASSERT_TRUE(WriteWholeFile(folder_ + L"\\" + relative, bytes));
    }

    std::wstring folder_;
    std::wstring previous_;
    static inline int counter_ = 0;
};

// --- The package registered from the installer's resources -------------------------------

TEST(EmbeddedPackage, IsRegisteredOnceAsMembuffer) {
    ASSERT_TRUE(g_firstLoad);
    const CSkinResources& resources = Skin::SkinResources();
    EXPECT_EQ(resources.GetPackageName(), L"membuffer");
    EXPECT_TRUE(resources.IsPackageCached());
    ASSERT_NE(resources.GetPackage(), nullptr);
    // One archive decode for the whole start, and the solid block decoded once for 70 files.
    EXPECT_EQ(g_decodesAtFirstWindow, 1u);
    EXPECT_EQ(g_blockDecodesAtFirstWindow, 1u);
}

TEST(EmbeddedPackage, HoldsTheFilesWithoutFolders) {
    ASSERT_NE(Installed(), nullptr);
    const auto& entries = Installed()->Entries();
    EXPECT_EQ(entries.size(), kPackageFiles);
    std::uint32_t previous = 0;
    std::uint32_t highest = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SkinPackageEntry& entry = entries[i];
        EXPECT_EQ(entry.nameLength, entry.name.size() + 1) << entry.name;
        EXPECT_EQ(entry.name.find(L'\\'), std::wstring::npos) << entry.name;
        if (i) {
            EXPECT_GT(entry.index, previous) << "archive order";
        }
        previous = entry.index;
        highest = std::max(highest, entry.index);
        EXPECT_NE(entry.name, L"res");
        EXPECT_NE(entry.name, L"res/mainWnd");
    }
    // Indexes count the folders too: 75 items in the archive, 5 of them left out.
    EXPECT_LE(highest, kPackageFiles + kPackageFolders - 1);
    for (const wchar_t* folder : {L"res", L"res/common", L"res/mainWnd", L"res/MessageBoxWnd",
                                  L"res/mainWnd/installBtnAnimate", L"res\\mainWnd"}) {
        EXPECT_EQ(FindPackageEntry(Installed(), folder, nullptr, nullptr), kPackageNotFound)
            << folder;
    }
}

TEST(EmbeddedPackage, EntriesEqualTheSkinFolder) {
    ASSERT_NE(Installed(), nullptr);
    std::map<std::wstring, Bytes> files;
    unsigned folders = 0;
    CollectFiles(g_skinData, L"", &files, &folders);
    ASSERT_EQ(files.size(), kPackageFiles) << "skin data folder: " << g_skinData;
    EXPECT_EQ(folders, kPackageFolders);
    std::uint64_t total = 0;
    for (const auto& file : files) {
        const SkinPackageEntry* entry = EntryFound(Installed(), file.first.c_str());
        ASSERT_NE(entry, nullptr) << file.first;
        EXPECT_EQ(entry->name, file.first);  // stored with its case
        EXPECT_EQ(entry->size, file.second.size());
        EXPECT_EQ(EntryBytes(Installed(), file.first.c_str()), file.second);
        total += entry->size;
    }
    std::uint64_t packaged = 0;
    for (const SkinPackageEntry& entry : Installed()->Entries()) packaged += entry.size;
    EXPECT_EQ(packaged, total);
}

struct LookupCase {
    const wchar_t* asked;
    const wchar_t* stored;  // null: not found
};

void PrintTo(const LookupCase& c, std::ostream* os) {
    *os << testing::PrintToString(c.asked) << " -> "
        << (c.stored ? testing::PrintToString(c.stored) : std::string("not found"));
}

class EmbeddedLookup : public testing::TestWithParam<LookupCase> {};

TEST_P(EmbeddedLookup, FollowsTheLookupRule) {
    const LookupCase& c = GetParam();
    ASSERT_NE(Installed(), nullptr);
    const SkinPackageEntry* entry = EntryFound(Installed(), c.asked);
    if (!c.stored) {
        std::uint32_t index = 12345;
        std::uint64_t size = 678;
        EXPECT_EQ(FindPackageEntry(Installed(), c.asked, &index, &size), kPackageNotFound);
        EXPECT_EQ(index, 12345u);
        EXPECT_EQ(size, 678u);
        return;
    }
    ASSERT_NE(entry, nullptr) << c.asked;
    EXPECT_EQ(entry->name, c.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EmbeddedLookup,
    testing::Values(
        LookupCase{L"MainWnd.xml", L"mainWnd.xml"},
        LookupCase{L"mainWnd.xml", L"mainWnd.xml"},
        LookupCase{L"ExitTipWnd.xml", L"exitTipWnd.xml"},
        LookupCase{L"MessageBox2Wnd.xml", L"MessageBox2Wnd.xml"},
        LookupCase{L"MESSAGEBOX1WND.XML", L"MessageBox1Wnd.xml"},
        LookupCase{L"res\\mainWnd\\bg1.png", L"res/mainWnd/bg1.png"},
        LookupCase{L"res/mainWnd/chDirBtn1.png", L"res/mainWnd/chDirBtn1.png"},
        LookupCase{L"res\\mainWnd/installBtnAnimate\\025.png",
                   L"res/mainWnd/installBtnAnimate/025.png"},
        LookupCase{L"RES\\COMMON\\CLOSEBTNM_2.PNG", L"res/common/closebtnM_2.png"},
        LookupCase{L"res\\\\mainWnd\\bg1.png", nullptr},
        LookupCase{L"res//mainWnd/bg1.png", nullptr},
        LookupCase{L"/mainWnd.xml", nullptr},
        LookupCase{L"\\mainWnd.xml", nullptr},
        LookupCase{L"./mainWnd.xml", nullptr},
        LookupCase{L".\\mainWnd.xml", nullptr},
        LookupCase{L"mainWnd.xm", nullptr},
        LookupCase{L"mainWnd.xml ", nullptr},
        LookupCase{L" mainWnd.xml", nullptr},
        LookupCase{L"res/mainWnd/bg1.pn", nullptr},
        LookupCase{L"", nullptr},
        LookupCase{L"res/mainWnd", nullptr},
        LookupCase{L"res/mainWnd/", nullptr},
        LookupCase{L"res\\common\\closebtn4.png", nullptr},
        LookupCase{L"res\\common\\minbtn4.png", nullptr},
        LookupCase{L"res\\common\\closebtnM_4.png", nullptr},
        LookupCase{L"res\\mainWnd\\installPrg3.png", nullptr},
        LookupCase{L"language.json", nullptr}));

TEST(EmbeddedPackage, IgnorableCharactersDoNotStretchAName) {
    // The locale-aware comparison may skip characters such as the soft hyphen; the length rule
    // still keeps such a name from matching.
    // (Wine's lstrcmpiW finds "mainWnd.xml" and this name equal.)
    const wchar_t* asked = L"mainWnd.x\u00ADml";
    EXPECT_EQ(FindPackageEntry(Installed(), asked, nullptr, nullptr), kPackageNotFound);
}

TEST(EmbeddedPackage, MissingPackageOrPathIsNotFound) {
    std::uint32_t index = 0;
    std::uint64_t size = 0;
    EXPECT_EQ(FindPackageEntry(nullptr, L"mainWnd.xml", &index, &size), kPackageNotFound);
    EXPECT_EQ(FindPackageEntry(Installed(), nullptr, &index, &size), kPackageNotFound);
    unsigned char byte = 0;
    EXPECT_EQ(ReadPackageEntry(nullptr, 0, &byte), kPackageNotFound);
}

TEST(EmbeddedPackage, ReadsByArchiveIndex) {
    ASSERT_NE(Installed(), nullptr);
    std::vector<bool> isFile(kPackageFiles + kPackageFolders, false);
    for (const SkinPackageEntry& entry : Installed()->Entries()) {
        Bytes bytes(static_cast<std::size_t>(entry.size));
        ASSERT_EQ(ReadPackageEntry(Installed(), entry.index, bytes.data()), kPackageOk);
        EXPECT_EQ(0, std::memcmp(bytes.data(), entry.bytes.get(), bytes.size()));
        if (entry.index < isFile.size()) isFile[entry.index] = true;
    }
    // The indexes of the folders are no entries.
    unsigned folders = 0;
    unsigned char byte = 0;
    for (std::uint32_t i = 0; i < isFile.size(); ++i) {
        if (isFile[i]) continue;
        ++folders;
        EXPECT_EQ(ReadPackageEntry(Installed(), i, &byte), kPackageNotFound) << i;
    }
    EXPECT_EQ(folders, kPackageFolders);
    EXPECT_EQ(ReadPackageEntry(Installed(), 75, &byte), kPackageNotFound);
    EXPECT_EQ(ReadPackageEntry(Installed(), 0xFFFFFFFFu, &byte), kPackageNotFound);
}

TEST(EmbeddedPackage, LaterWindowsDoNotDecodeAgain) {
    const CSkinPackage* first = Installed();
    ASSERT_NE(first, nullptr);
    const unsigned decodes = Skin::SkinPackageDecodeCount();
    const unsigned blocks = Skin::SkinPackageBlockDecodeCount();
    // A second window copies the resource again and registers it.
    EXPECT_TRUE(Skin::LoadResourcePackage(g_installer));
    // Any other package handed over later is ignored as well.
    const Bytes junk = Text("not an archive");
    Skin::SetResourcePackage(junk.data(), junk.size());
    Skin::SetResourcePackage(kEdgeArchive, sizeof kEdgeArchive);
    EXPECT_EQ(Skin::SkinPackageDecodeCount(), decodes);
    EXPECT_EQ(Skin::SkinPackageBlockDecodeCount(), blocks);
    EXPECT_EQ(Installed(), first);
    EXPECT_EQ(Installed()->Entries().size(), kPackageFiles);
    EXPECT_EQ(Skin::SkinResources().GetPackageName(), L"membuffer");
}

TEST(EmbeddedPackage, DecodesTheSolidBlockOncePerOpen) {
    const Bytes archive = ResourceArchive();
    ASSERT_FALSE(archive.empty());
    EXPECT_EQ(archive[0], 0x37);
    EXPECT_EQ(archive[1], 0x7A);
    const unsigned decodes = Skin::SkinPackageDecodeCount();
    const unsigned blocks = Skin::SkinPackageBlockDecodeCount();
    const auto package = OpenPackageFromMemory(archive.data(), archive.size());
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->Entries().size(), kPackageFiles);
    EXPECT_EQ(Skin::SkinPackageDecodeCount(), decodes + 1);
    EXPECT_EQ(Skin::SkinPackageBlockDecodeCount(), blocks + 1);
}

// --- Markup documents -----------------------------------------------------------------

TEST(MarkupFile, ComesFromThePackage) {
    Bytes expected;
    ASSERT_TRUE(ReadWholeFile(g_skinData + L"mainWnd.xml", &expected));
    const SkinMarkupFile main = Skin::ReadSkinMarkupFile(L"MainWnd.xml");
    ASSERT_TRUE(main.ok) << main.error;
    EXPECT_TRUE(main.error.empty());
    EXPECT_EQ(main.bytes, expected);
    for (const wchar_t* name : {L"ExitTipWnd.xml", L"MessageBox1Wnd.xml", L"MessageBox2Wnd.xml",
                                L"NetworkTipWnd.xml", L"InstalledPathTipWnd.xml"}) {
        EXPECT_TRUE(Skin::ReadSkinMarkupFile(name).ok) << name;
    }
}

TEST_F(InTempFolder, MarkupMissingFromThePackageHasNoFallback) {
    Put(L"NoSuchWnd.xml", Text("<Window/>"));
    const SkinMarkupFile missing = Skin::ReadSkinMarkupFile(L"NoSuchWnd.xml");
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.bytes.empty());
    EXPECT_EQ(missing.error, L"Could not find ziped file");
    EXPECT_EQ(Skin::ReadSkinMarkupFile(nullptr).error, L"Could not find ziped file");
    EXPECT_EQ(Skin::ReadSkinMarkupFile(L"res/mainWnd").error, L"Could not find ziped file");
}

TEST(MarkupFile, EntryLimits) {
    CSkinResources resources;
    resources.SetSevenZipPackages(true);
    resources.SetResourcePackage(kEdgeArchive, sizeof kEdgeArchive);
    ASSERT_NE(resources.GetPackage(), nullptr);
    ASSERT_EQ(resources.GetPackage()->Entries().size(), 4u);
    EXPECT_EQ(resources.ReadMarkupFile(L"empty.xml").error, L"File is empty");
    EXPECT_EQ(resources.ReadMarkupFile(L"big.xml").error, L"File too large");
    const SkinMarkupFile limit = resources.ReadMarkupFile(L"limit.xml");
    ASSERT_TRUE(limit.ok);
    EXPECT_EQ(limit.bytes.size(), 4194304u);
    EXPECT_EQ(limit.bytes.front(), 'b');
    EXPECT_EQ(limit.bytes.back(), 'b');
    EXPECT_EQ(resources.ReadMarkupFile(L"OK.XML").bytes, Text("<Window size=\"10,10\"/>"));
}

TEST_F(InTempFolder, MarkupWithoutPackageIsReadFromTheResourcePath) {
    Put(L"skin\\a.xml", Text("<Window/>"));
    Put(L"skin\\empty.xml", Bytes());
    Put(L"skin\\big.xml", Bytes(4194305, 'x'));
    Put(L"skin\\limit.xml", Bytes(4194304, 'y'));
    Put(L"cwd.xml", Text("<Window/>"));
    CSkinResources resources;
    resources.SetSevenZipPackages(true);
    resources.SetResourcePath(folder_ + L"\\skin");
    EXPECT_EQ(resources.GetResourcePath(), folder_ + L"\\skin\\");
    EXPECT_EQ(resources.GetPackageName(), L"");

    EXPECT_EQ(resources.ReadMarkupFile(L"a.xml").bytes, Text("<Window/>"));
    EXPECT_EQ(resources.ReadMarkupFile(L"missing.xml").error, L"Error opening file");
    EXPECT_EQ(resources.ReadMarkupFile(L"cwd.xml").error, L"Error opening file");
    EXPECT_EQ(resources.ReadMarkupFile(L"empty.xml").error, L"File is empty");
    EXPECT_EQ(resources.ReadMarkupFile(L"big.xml").error, L"File too large");
    EXPECT_EQ(resources.ReadMarkupFile(L"limit.xml").bytes.size(), 4194304u);
    // A folder cannot be opened as a file.
    Put(L"skin\\folder\\x.xml", Text("x"));
    EXPECT_EQ(resources.ReadMarkupFile(L"folder").error, L"Error opening file");
}

TEST(MarkupFile, ErrorTextsAreShort) {
    for (const wchar_t* text : {L"Error opening zip file", L"Could not find ziped file",
                                L"File is empty", L"File too large", L"Could not unzip file",
                                L"Error opening file", L"Could not read file"}) {
        EXPECT_LE(std::wstring(text).size(), Skin::kMaxSkinFileErrorLength);
    }
}

// --- Images -----------------------------------------------------------------------------

TEST_F(InTempFolder, ImageMissingFromThePackageIsReadAsAPlainFile) {
    Bytes image;
    EXPECT_FALSE(Skin::ReadSkinImageFile(L"res\\common\\closebtn4.png", &image));
    Put(L"res\\common\\closebtn4.png", Text("plain closebtn4"));
    ASSERT_TRUE(Skin::ReadSkinImageFile(L"res\\common\\closebtn4.png", &image));
    EXPECT_EQ(image, Text("plain closebtn4"));
    // An empty file counts as missing.
    Put(L"res\\common\\minbtn4.png", Bytes());
    image = Text("unchanged");
    EXPECT_FALSE(Skin::ReadSkinImageFile(L"res\\common\\minbtn4.png", &image));
    EXPECT_EQ(image, Text("unchanged"));
}

TEST_F(InTempFolder, PackagedImageWinsOverAPlainFile) {
    Put(L"res\\mainWnd\\bg1.png", Text("plain bg1"));
    Bytes expected;
    ASSERT_TRUE(ReadWholeFile(g_skinData + L"res\\mainWnd\\bg1.png", &expected));
    Bytes image;
    ASSERT_TRUE(Skin::ReadSkinImageFile(L"res\\mainWnd\\bg1.png", &image));
    EXPECT_EQ(image, expected);
    ASSERT_TRUE(Skin::ReadSkinImageFile(L"RES/MAINWND/BG1.PNG", &image));
    EXPECT_EQ(image, expected);
}

TEST_F(InTempFolder, ImageHasNoSizeLimit) {
    Put(L"huge.png", Bytes(4194304 + 100, 'z'));
    Bytes image;
    ASSERT_TRUE(Skin::ReadSkinImageFile(L"huge.png", &image));
    EXPECT_EQ(image.size(), 4194404u);
}

TEST_F(InTempFolder, EmptyImageEntryFallsBackToAPlainFile) {
    CSkinResources resources;
    resources.SetSevenZipPackages(true);
    resources.SetResourcePackage(kEdgeArchive, sizeof kEdgeArchive);
    Bytes image;
    EXPECT_FALSE(resources.ReadImageFile(L"empty.xml", &image));
    Put(L"empty.xml", Text("plain"));
    ASSERT_TRUE(resources.ReadImageFile(L"empty.xml", &image));
    EXPECT_EQ(image, Text("plain"));
    ASSERT_TRUE(resources.ReadImageFile(L"big.xml", &image));
    EXPECT_EQ(image.size(), 4194305u);
}

TEST_F(InTempFolder, ImageWithoutPackageComesFromTheResourcePathThenTheName) {
    Put(L"skin\\res\\a.png", Text("from the resource path"));
    Put(L"res\\a.png", Text("from the current directory"));
    Put(L"res\\b.png", Text("only here"));
    Put(L"skin\\res\\c.png", Bytes());
    Put(L"res\\c.png", Text("c fallback"));
    CSkinResources resources;
    resources.SetResourcePath(folder_ + L"\\skin\\");
    Bytes image;
    ASSERT_TRUE(resources.ReadImageFile(L"res\\a.png", &image));
    EXPECT_EQ(image, Text("from the resource path"));
    ASSERT_TRUE(resources.ReadImageFile(L"res\\b.png", &image));
    EXPECT_EQ(image, Text("only here"));
    ASSERT_TRUE(resources.ReadImageFile(L"res\\c.png", &image));
    EXPECT_EQ(image, Text("c fallback"));
    EXPECT_FALSE(resources.ReadImageFile(L"res\\d.png", &image));
    EXPECT_FALSE(resources.ReadImageFile(nullptr, &image));
}

// --- Broken packages ------------------------------------------------------------------

TEST_F(InTempFolder, CorruptArchiveLeavesNoPackage) {
    Bytes archive = ResourceArchive();
    ASSERT_GT(archive.size(), 64u);
    archive[2] ^= 0xFF;  // the signature
    CSkinResources resources;
    resources.SetSevenZipPackages(true);
    resources.SetResourcePackage(archive.data(), archive.size());
    EXPECT_EQ(resources.GetPackageName(), L"membuffer");
    EXPECT_TRUE(resources.IsPackageCached());
    EXPECT_EQ(resources.GetPackage(), nullptr);
    EXPECT_EQ(resources.ReadMarkupFile(L"MainWnd.xml").error, L"Error opening zip file");
    EXPECT_EQ(resources.ReadMarkupFile(L"missing.xml").error, L"Error opening zip file");
    // Images fall back to plain files.
    Bytes image;
    EXPECT_FALSE(resources.ReadImageFile(L"res\\mainWnd\\bg1.png", &image));
    Put(L"res\\mainWnd\\bg1.png", Text("plain"));
    ASSERT_TRUE(resources.ReadImageFile(L"res\\mainWnd\\bg1.png", &image));
    EXPECT_EQ(image, Text("plain"));
    // A later, good package does not replace it.
    const Bytes good = ResourceArchive();
    resources.SetResourcePackage(good.data(), good.size());
    EXPECT_EQ(resources.GetPackage(), nullptr);
}

TEST(BrokenArchive, NothingToOpen) {
    EXPECT_EQ(OpenPackageFromMemory(nullptr, 0), nullptr);
    EXPECT_EQ(OpenPackageFromMemory(nullptr, 10), nullptr);
    const Bytes junk = Text("7z but not really an archive at all");
    EXPECT_EQ(OpenPackageFromMemory(junk.data(), junk.size()), nullptr);
    EXPECT_EQ(OpenPackageFromMemory(junk.data(), 0), nullptr);
}

TEST(BrokenArchive, TruncatedArchiveCannotBeOpened) {
    // A 7z archive keeps its file list at its end: any cut loses it, so nothing is decoded.
    const Bytes archive = ResourceArchive();
    ASSERT_FALSE(archive.empty());
    const unsigned decodes = Skin::SkinPackageDecodeCount();
    for (std::size_t keep : {archive.size() - 1, archive.size() / 2, std::size_t(32)}) {
        EXPECT_EQ(OpenPackageFromMemory(archive.data(), keep), nullptr) << keep;
    }
    EXPECT_EQ(Skin::SkinPackageDecodeCount(), decodes);
}

TEST(BrokenArchive, DamagedFileEndsTheTable) {
    const auto intact = OpenPackageFromMemory(kThreeBlockArchive, sizeof kThreeBlockArchive);
    ASSERT_NE(intact, nullptr);
    ASSERT_EQ(intact->Entries().size(), 3u);
    EXPECT_EQ(intact->Entries()[0].name, L"first.txt");
    EXPECT_EQ(intact->Entries()[1].name, L"second.txt");
    EXPECT_EQ(intact->Entries()[2].name, L"third.txt");
    EXPECT_EQ(EntryBytes(intact.get(), L"third.txt"), Text("THIRD-FILE-CONTENT-3333"));

    // Damage the second file's stored bytes: its check sum no longer matches.
    Bytes archive(kThreeBlockArchive, kThreeBlockArchive + sizeof kThreeBlockArchive);
    const Bytes marker = Text("SECOND-FILE-CONTENT-2222");
    const auto at = std::search(archive.begin(), archive.end(), marker.begin(), marker.end());
    ASSERT_NE(at, archive.end());
    *at ^= 0x20;
    const unsigned blocks = Skin::SkinPackageBlockDecodeCount();
    const auto damaged = OpenPackageFromMemory(archive.data(), archive.size());
    ASSERT_NE(damaged, nullptr);
    ASSERT_EQ(damaged->Entries().size(), 1u);
    EXPECT_EQ(damaged->Entries()[0].name, L"first.txt");
    EXPECT_EQ(EntryBytes(damaged.get(), L"first.txt"), Text("FIRST-FILE-CONTENT-1111"));
    EXPECT_EQ(FindPackageEntry(damaged.get(), L"second.txt", nullptr, nullptr), kPackageNotFound);
    EXPECT_EQ(FindPackageEntry(damaged.get(), L"third.txt", nullptr, nullptr), kPackageNotFound);
    // One block per file: the first decoded, the second tried, the third never reached.
    EXPECT_EQ(Skin::SkinPackageBlockDecodeCount(), blocks + 2);

    CSkinResources resources;
    resources.SetSevenZipPackages(true);
    resources.SetResourcePackage(archive.data(), archive.size());
    EXPECT_TRUE(resources.ReadMarkupFile(L"first.txt").ok);
    EXPECT_EQ(resources.ReadMarkupFile(L"second.txt").error, L"Could not find ziped file");
}

// --- Resource state -----------------------------------------------------------------

TEST(ResourceState, WithoutTheSevenZipSwitchNothingIsOpened) {
    const Bytes archive = ResourceArchive();
    CSkinResources resources;
    resources.SetResourcePackage(archive.data(), archive.size());
    EXPECT_EQ(resources.GetPackageName(), L"membuffer");
    EXPECT_EQ(resources.GetPackage(), nullptr);
    EXPECT_EQ(resources.ReadMarkupFile(L"MainWnd.xml").error, L"Error opening zip file");
}

TEST(ResourceState, ModuleWithoutThePackage) {
    CSkinResources resources;
    resources.SetSevenZipPackages(true);
    EXPECT_FALSE(resources.LoadResourcePackage(GetModuleHandleW(nullptr)));
    EXPECT_FALSE(resources.LoadResourcePackage(g_installer, 148));
    EXPECT_EQ(resources.GetPackageName(), L"");
    EXPECT_FALSE(resources.IsPackageCached());
    EXPECT_EQ(resources.ReadMarkupFile(L"MainWnd.xml").error, L"Error opening file");
}

TEST(ResourceState, ResourceModuleAndPaths) {
    CSkinResources resources;
    const HINSTANCE self = GetModuleHandleW(nullptr);
    resources.SetInstance(self);
    EXPECT_EQ(resources.GetResourceModule(), self);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring folder = path;
    folder.erase(folder.find_last_of(L'\\') + 1);
    EXPECT_EQ(resources.GetInstancePath(), folder);
    resources.SetResourceInstance(g_installer);
    EXPECT_EQ(resources.GetResourceModule(), g_installer);
    resources.SetSevenZipPackages(true);
    EXPECT_TRUE(resources.LoadResourcePackage());
    ASSERT_NE(resources.GetPackage(), nullptr);
    EXPECT_EQ(resources.GetPackage()->Entries().size(), kPackageFiles);

    resources.SetResourcePath(L"");
    EXPECT_EQ(resources.GetResourcePath(), L"");
    resources.SetResourcePath(L"C:\\skins");
    EXPECT_EQ(resources.GetResourcePath(), L"C:\\skins\\");
    resources.SetResourcePath(L"C:\\skins\\");
    EXPECT_EQ(resources.GetResourcePath(), L"C:\\skins\\");
    resources.SetResourcePath(L"C:/skins/");
    EXPECT_EQ(resources.GetResourcePath(), L"C:/skins/");
    resources.SetResourcePath(resources.GetInstancePath());
    EXPECT_EQ(resources.GetResourcePath(), folder);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: skin_tests <path of RavellInstaller.exe>\n");
        return 2;
    }
    g_installerPath = FullPath(Widen(argv[1]));
    g_skinData = SkinDataFolder();
    g_installer = LoadLibraryExW(g_installerPath.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!g_installer) {
        std::fprintf(stderr, "cannot load %s (error %lu)\n", argv[1], GetLastError());
        return 2;
    }
    // As at startup and at the first window's creation.
    Skin::SkinResources().SetInstance(GetModuleHandleW(nullptr));
    Skin::SetSevenZipPackages(true);
    g_firstLoad = Skin::LoadResourcePackage(g_installer);
    g_decodesAtFirstWindow = Skin::SkinPackageDecodeCount();
    g_blockDecodesAtFirstWindow = Skin::SkinPackageBlockDecodeCount();
    const int result = RUN_ALL_TESTS();
    FreeLibrary(g_installer);
    return result;
}
