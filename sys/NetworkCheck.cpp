#include "sys/NetworkCheck.h"

#include <windows.h>
#include <initguid.h>
#include <netlistmgr.h>

#include "sys/DebugLog.h"

namespace Utils {

std::uint32_t CheckNetwork() {
    INetworkListManager* manager = nullptr;
    const HRESULT created = CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL,
                                             IID_INetworkListManager,
                                             reinterpret_cast<void**>(&manager));
    if (FAILED(created) || !manager) {
        CoFreeUnusedLibraries();
        return NetworkCheckResult(false, 0, false);
    }
    NLM_CONNECTIVITY connectivity = NLM_CONNECTIVITY_DISCONNECTED;
    if (FAILED(manager->GetConnectivity(&connectivity))) connectivity = NLM_CONNECTIVITY_DISCONNECTED;
    const std::uint32_t flags = static_cast<std::uint32_t>(connectivity);
    VARIANT_BOOL internet = VARIANT_FALSE;
    if (flags == 0) {
        DEBUG_LOG(L"GetConnectivity %d", static_cast<int>(flags));
    } else {
        // (get_IsConnectedToInternet; this header names the property accessor without "get_")
        if (FAILED(manager->IsConnectedToInternet(&internet))) internet = VARIANT_FALSE;
        if (internet == VARIANT_FALSE)
            DEBUG_LOG(L"get_IsConnectedToInternet:%d", static_cast<int>(internet));
    }
    manager->Release();
    CoFreeUnusedLibraries();
    return NetworkCheckResult(true, flags, internet != VARIANT_FALSE);
}

}  // namespace Utils
