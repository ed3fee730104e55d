#pragma once
#include <string>

#include "download/ProxyChoice.h"

typedef void CURL;

// The current user's proxy settings (WinHttpGetIEProxyConfigForCurrentUser); none when the
// query fails.
UserProxySettings QueryUserProxySettings();

// The automatic configuration's answer for url (WinHttpGetProxyForUrl with the script address
// and/or detection of the settings); each address is asked once per process.
bool ResolveAutoProxy(const UserProxySettings& settings, const std::string& url,
                      AutoProxyAnswer& answer);

// Sets CURLOPT_PROXY and CURLOPT_NOPROXY on handle for a request to url, as the user's
// settings decide (ChooseCurlProxy); always sets both, so that libcurl never falls back to the
// http_proxy-style environment variables. The OR of the results.
int SetUserProxy(CURL* handle, const std::string& url);
