#include <gtest/gtest.h>

#include "download/PublisherMatch.h"
#include "download/Sha256.h"

TEST(Sha256Test, KnownDigests) {
    struct Row {
        std::string input;
        const char* digest;
    } rows[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",  // two blocks
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Row& row : rows) {
        Sha256 whole;
        whole.Update(row.input.data(), row.input.size());
        EXPECT_EQ(whole.HexDigest(), row.digest) << row.input.size();
        // Fed in uneven pieces, across block boundaries: the same digest.
        Sha256 pieces;
        for (size_t at = 0, step = 1; at < row.input.size(); at += step, step = step % 97 + 13)
            pieces.Update(row.input.data() + at, std::min(step, row.input.size() - at));
        EXPECT_EQ(pieces.HexDigest(), row.digest) << row.input.size();
    }
}

TEST(PublisherMatchTest, ThumbprintForms) {
    const std::string sha1 = "0123456789abcdef0123456789abcdef01234567";
    struct Row {
        const wchar_t* text;
        std::string normalized;
    } rows[] = {
        {L"0123456789ABCDEF0123456789ABCDEF01234567", sha1},
        {L"01 23 45 67 89 ab cd ef 01 23 45 67 89 ab cd ef 01 23 45 67", sha1},
        {L"01:23:45:67:89:AB:CD:EF:01:23:45:67:89:AB:CD:EF:01:23:45:67", sha1},
        {L"0123456789abcdef0123456789abcdef0123456", ""},     // 39 digits
        {L"0123456789abcdef0123456789abcdef012345678", ""},   // 41 digits
        {L"0123456789abcdef0123456789abcdef0123456g", ""},    // not hexadecimal
        {L"Tallowmere Test Publisher", ""},
        {L"", ""},
    };
    for (const Row& row : rows) EXPECT_EQ(NormalizeThumbprint(row.text), row.normalized) << row.text;
}

TEST(PublisherMatchTest, SignerAgainstExpectation) {
    SignerIdentity signer;
    signer.sha1 = "0123456789abcdef0123456789abcdef01234567";
    signer.sha256 = std::string(64, 'a');
    signer.subject = L"Tallowmere Test Publisher";
    struct Row {
        std::wstring expected;
        bool matches;
    } rows[] = {
        {L"0123456789ABCDEF0123456789ABCDEF01234567", true},
        {L"0123456789ABCDEF0123456789ABCDEF01234566", false},
        {std::wstring(64, L'A'), true},
        {std::wstring(63, L'a') + L"b", false},
        // a SHA-1 thumbprint never matches the first 40 digits of the SHA-256 one
        {std::wstring(40, L'a'), false},
        {L"Tallowmere Test Publisher", true},
        {L"tallowmere test publisher", false},  // subjects compare exactly
        {L"Tallowmere Test", false},
        {L"", false},                           // nobody is everybody
    };
    for (const Row& row : rows)
        EXPECT_EQ(PublisherMatches(row.expected, signer), row.matches) << row.expected.c_str();
    // An unsigned file has no identity: nothing matches it.
    for (const Row& row : rows) EXPECT_FALSE(PublisherMatches(row.expected, SignerIdentity()));
}
