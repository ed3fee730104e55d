#pragma once
#include <string>

#include "download/Downloader.h"

// The downloader for a DownloadType setting: 3 the segmented downloader, 2 the WinHTTP
// downloader, anything else the single-stream downloader.
CDownloader* CreateDownloader(int downloadType, EventCallback callback, const std::wstring& url,
                              const std::wstring& target);
