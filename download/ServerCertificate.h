#pragma once
#include <curl/curl.h>

// libcurl leaves checking the server's certificate to Schannel, and not every Schannel does it
// (Wine's accepts any certificate). Every libcurl request of the installer therefore checks
// the certificate itself as well, once the connection is up and before the request is sent:
// the chain must end at a root the system trusts, be valid for server authentication and
// name the requested host; a revoked certificate is refused, an unknown revocation status is
// not. A refused certificate makes the transfer fail with CURLE_PEER_FAILED_VERIFICATION (60),
// as a refusal by Schannel would.

// Installs the check on a handle (part of the common options).
int SetServerCertificateCheck(CURL* handle);

// curl_easy_perform with the check's refusal reported as 60.
int PerformRequest(CURL* handle);
