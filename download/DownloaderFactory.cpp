#include "download/DownloaderFactory.h"

#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"

CDownloader* CreateDownloader(int downloadType, EventCallback callback, const std::wstring& url,
                              const std::wstring& target) {
    switch (downloadType) {
    case 2:
        return nullptr;  // the WinHTTP downloader is not part of this build yet
    case 3:
        return new CMTCurlDownloader(std::move(callback), url, target);
    default:
        return new CCurlDownloader(std::move(callback), url, target);
    }
}
