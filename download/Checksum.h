#pragma once
#include <cstdio>
#include <string>

// The expected MD5 carried in a final download address: its second-to-last path segment
// ("http://h/files/<md5>/pkg.exe" -> "<md5>"); empty when the address has fewer segments.
// Callers use it only when it is exactly 32 characters long.
std::string GetUrlMd5(const std::string& finalUrl);

// MD5 of a file's bytes as 32 lower-case hexadecimal digits; empty when the path is empty,
// the file cannot be opened or reading fails.
std::string GetFileMd5(const std::string& path);
// The same for an open stream, read from its current position in 1024-byte blocks.
std::string GetStreamMd5(std::FILE* file);

// How a downloaded file compares with the MD5 carried in the final download address.
enum class ChecksumVerdict {
    Match,     // equal (the comparison is case-sensitive: the digest is lower case)
    Missing,   // the address carries no 32-character checksum: nothing to compare with
    Mismatch,  // the file's checksum differs, or the file could not be read (actual empty)
};
ChecksumVerdict CompareChecksum(const std::string& expectedMd5, const std::string& actualMd5);
