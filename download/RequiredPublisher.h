#pragma once
#include <string>

// The publisher every downloaded package and every old uninstaller must be signed by (see
// PublisherMatch.h); empty when the build requires no signature. A program's entry point sets
// it once, before any download, from the value compiled into that program: it is never taken
// from a configuration file or the command line.
void SetRequiredPublisher(const std::wstring& publisher);
const std::wstring& RequiredPublisher();
