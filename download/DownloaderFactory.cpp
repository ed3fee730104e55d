#include "download/DownloaderFactory.h"

#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"
#include "download/WinHttpDownloader.h"

CDownloader* CreateDownloader(int downloadType, EventCallback callback, const std::wstring& url,
                              const std::wstring& target) {
    switch (downloadType) {
    case 2:
        return new WinHttpDownloader(std::move(callback), url, target);
    case 3:
        return new CMTCurlDownloader(std::move(callback), url, target);
    default:
        return new CCurlDownloader(std::move(callback), url, target);
    }
}
