#!/usr/bin/env bash
# The tests' own certificates, made once into OUTDIR (kept while present):
#   ca.pem/ca.der         a test root authority ("Tallowmere Test Root")
#   publisher.pem/.key    a code-signing certificate it issued ("Tallowmere Test Publisher")
#   other.pem/.key        another code-signing certificate it issued ("Someone Else")
#   server.pem/.key       a TLS server certificate it issued for 127.0.0.1 and localhost (the
#                         address is named as an IP address and as a DNS name: Wine's name
#                         check looks at DNS names only)
#   selfsigned.pem/.key   a self-signed TLS server certificate for 127.0.0.1
#   publisher.sha256      the publisher certificate's SHA-256 thumbprint (AA:BB:... form)
# Usage: make-test-pki.sh OUTDIR
set -euo pipefail
out=$1
[ -f "$out/.done-2" ] && exit 0
rm -rf "$out"; mkdir -p "$out"; cd "$out"
days=3650
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days $days -subj "/CN=Tallowmere Test Root" \
  -keyout ca.key -out ca.pem \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  2>/dev/null
openssl x509 -in ca.pem -outform DER -out ca.der
issue() {  # issue NAME SUBJECT EXTENSIONS
  openssl req -newkey rsa:2048 -nodes -sha256 -subj "/CN=$2" -keyout "$1.key" -out "$1.csr" 2>/dev/null
  printf '%b' "$3" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -sha256 -days $days \
    -extfile "$1.ext" -out "$1.pem" 2>/dev/null
  rm -f "$1.csr" "$1.ext"
}
signing='basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=codeSigning\n'
issue publisher "Tallowmere Test Publisher" "$signing"
issue other "Someone Else" "$signing"
issue server "127.0.0.1" 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature,keyEncipherment\nextendedKeyUsage=serverAuth\nsubjectAltName=IP:127.0.0.1,DNS:127.0.0.1,DNS:localhost\n'
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days $days -subj "/CN=127.0.0.1" \
  -addext "subjectAltName=IP:127.0.0.1,DNS:127.0.0.1" -keyout selfsigned.key -out selfsigned.pem 2>/dev/null
openssl x509 -in publisher.pem -noout -fingerprint -sha256 | sed 's/.*=//' >publisher.sha256
touch .done-2
