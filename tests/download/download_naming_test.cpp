#include "download/content_range.h"
#include "download/file_naming.h"
#include "download/url_text.h"

#include <gtest/gtest.h>

namespace tarnis {
namespace {

TEST(UrlTextTest, AcceptsOnlyWebAddressesWithAPathAfterTheHost) {
    const struct {
        const char* url;
        bool accepted;
    } cases[] = {
        {"http://example.com/file.zip", true},
        {"HTTPS://example.com/", true},
        {"http://127.0.0.1:8080/a/b?x=1", true},
        {"http://example.com", false},
        {"http://example.com?x=/y", false},
        {"http:///file", false},
        {"ftp://example.com/file", false},
        {"file:///etc/passwd", false},
        {"example.com/file", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isAcceptedUrl(c.url), c.accepted) << c.url;
}

TEST(UrlTextTest, LastPathSegmentIsDecoded) {
    const struct {
        const char* url;
        const char* segment;
    } cases[] = {
        {"http://h/dir/my%20file+name.zip", "my file name.zip"},
        {"http://h/dir/file.zip?name=other.txt#frag", "file.zip"},
        {"http://h/dir/", ""},
        {"http://h/a%2Fb", "a/b"}, // made safe later, not here
        {"http://h/bad%zz%4", "bad%zz%4"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lastPathSegment(c.url), c.segment) << c.url;
}

TEST(UrlTextTest, RefererProxyAndRequestForm) {
    EXPECT_EQ(defaultReferer("http://h/dir/file.zip"), "http://h/dir/");
    EXPECT_EQ(proxyAddress("proxy.local"), "proxy.local:80");
    EXPECT_EQ(proxyAddress("proxy.local:3128"), "proxy.local:3128");
    EXPECT_EQ(proxyAddress("[::1]"), "[::1]:80");
    EXPECT_EQ(encodeUrlForRequest("http://h/a b\xE4\xB8\xAD"), "http://h/a%20b%E4%B8%AD");
}

TEST(FileNamingTest, ContentDispositionForms) {
    const struct {
        const char* header;
        const char* name;
    } cases[] = {
        {"attachment; filename=\"report 2024.pdf\"", "report 2024.pdf"},
        {"attachment; filename=plain.txt", "plain.txt"},
        {"attachment; filename=plain.txt; size=10", "plain.txt"},
        {"attachment; filename=\"a\\\"b.txt\"", "a\"b.txt"},
        {"attachment; filename*=UTF-8''%E4%B8%AD%E6%96%87.txt", "\xE4\xB8\xAD\xE6\x96\x87.txt"},
        {"attachment; filename=\"fallback.txt\"; filename*=utf-8''real.txt", "real.txt"},
        {"attachment; filename*=iso-8859-1''caf%E9.txt", "caf\xC3\xA9.txt"},
        {"inline", ""},
        {"attachment; filename=\"\"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fileNameFromContentDisposition(c.header), c.name) << c.header;
}

TEST(FileNamingTest, NetworkNamesAreMadeSafe) {
    const struct {
        std::string name;
        std::string safe;
    } cases[] = {
        {"../../etc/passwd", "passwd"},
        {"C:\\Windows\\System32\\evil.exe", "evil.exe"},
        {".profile", "profile"},
        {"...", ""},
        {"..", ""},
        {".", ""},
        {"", ""},
        {"dir/", ""},
        {std::string("a\0b\x01\x7f.txt", 9), "ab.txt"},
        {"  spaced.txt  ", "spaced.txt"},
        {". .hidden", "hidden"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(safeFileName(c.name), c.safe) << c.name;
}

TEST(FileNamingTest, LongNamesKeepTheirExtensionAndWholeCharacters) {
    std::string stem;
    for (int i = 0; i < 200; ++i)
        stem += "\xE4\xB8\xAD"; // 600 bytes of one three-byte character
    const std::string safe = safeFileName(stem + ".tar.gz");
    EXPECT_LE(safe.size(), 240u);
    EXPECT_TRUE(safe.ends_with(".gz"));
    EXPECT_EQ((safe.size() - 3) % 3, 0u) << "a character was cut in half";
}

TEST(FileNamingTest, ChoosesServerNameThenAddressThenIndex) {
    EXPECT_EQ(chooseDownloadName("attachment; filename=\"../x.bin\"", "http://h/y.bin"), "x.bin");
    EXPECT_EQ(chooseDownloadName("attachment; filename=\"..\"", "http://h/y.bin"), "y.bin");
    EXPECT_EQ(chooseDownloadName("", "http://h/dir/a+b%2Ec"), "a b.c");
    EXPECT_EQ(chooseDownloadName("", "http://h/dir/"), "index.html");
    EXPECT_EQ(chooseDownloadName("", "http://h/.."), "index.html");
    // A name the server sends in GBK comes out as the same characters in UTF-8.
    EXPECT_EQ(chooseDownloadName("attachment; filename=\"\xD6\xD0.txt\"", "http://h/x"),
              "\xE4\xB8\xAD.txt");
}

TEST(FileNamingTest, NumberedNames) {
    const struct {
        const char* name;
        const char* next;
    } cases[] = {
        {"name.ext", "name(1).ext"},
        {"name(1).ext", "name(2).ext"},
        {"archive.tar.gz", "archive(1).tar.gz"},
        {"noext", "noext(1)"},
        {"noext(9)", "noext(10)"},
        {"name(x).ext", "name(x)(1).ext"},
        {"name(98).ext", "name(99).ext"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(nextNumberedName(c.name).value_or("<none>"), c.next) << c.name;
    EXPECT_FALSE(nextNumberedName("name(99).ext").has_value());
}

TEST(ContentRangeTest, ParsesOnlyWellFormedRanges) {
    const auto range = parseContentRange("bytes 100-199/1000");
    ASSERT_TRUE(range);
    EXPECT_EQ(range->first, 100);
    EXPECT_EQ(range->last, 199);
    EXPECT_EQ(range->total, 1000);
    EXPECT_EQ(parseContentRange("bytes 0-9/*")->total, -1);
    EXPECT_EQ(parseContentRange("bytes 0-4294967299/8589934592")->last, 4294967299);
    for (const char* bad : {"", "bytes */1000", "bytes 10-5/100", "bytes 0-100/100", "items 0-1/2",
                            "bytes 0-1/2x", "bytes -1-2/3"})
        EXPECT_FALSE(parseContentRange(bad)) << bad;
}

} // namespace
} // namespace tarnis
