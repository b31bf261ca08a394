// The requests a second copy of the desktop program hands to the first: the
// message's form read back exactly, every malformed or oversized message
// refused whole, the command line that makes them, and the socket's folder
// closed to other users.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/outsideRequests.h"
#include "support/reader.h"

namespace {

namespace fs = std::filesystem;

std::vector<OutsideRequest> sample() {
    return {
        {RequestKind::open, "/home/u/labels/sheet one.labl", {}, {}},
        // A name may hold a line feed; the lengths carry it.
        {RequestKind::print, "/tmp/odd\nname.labl", {}, {}},
        {RequestKind::script,
         {},
         "/home/u",
         "{type:\"EAN 13\", data:\"400638133393\", "
         "saveto:\"a.eps\"}\n\n{type:\"QRCode\", "
         "data:\"x\", saveto:\"b.eps\"}\r\n"},
        {RequestKind::quit, {}, {}, {}},
    };
}

TEST(OutsideRequests, ReadBackExactly) {
    const std::vector<OutsideRequest> sent = sample();
    const std::string message = encodeRequests(sent);
    std::vector<OutsideRequest> got;
    std::string why;
    ASSERT_TRUE(decodeRequests(message, &got, &why)) << why;
    EXPECT_EQ(got, sent);
    size_t size = 0;
    EXPECT_EQ(requestArrival(message, &size, &why), RequestArrival::complete);
    EXPECT_EQ(size, message.size());
}

TEST(OutsideRequests, ArrivalInPiecesWaitsAndJunkIsRefusedAtOnce) {
    const std::string message = encodeRequests(sample());
    size_t size = 0;
    std::string why;
    for (size_t n = 0; n < message.size(); ++n)
        ASSERT_EQ(requestArrival(std::string_view(message).substr(0, n), &size, &why),
                  RequestArrival::incomplete)
            << n;
    // Something else talking to the socket is refused on its first bytes.
    EXPECT_EQ(requestArrival("GET / HTTP/1.1", &size, &why), RequestArrival::malformed);
    // A first line that never ends, or a length beyond the bound, needs no more bytes.
    EXPECT_EQ(requestArrival("strixel-request 1 " + std::string(80, '1'), &size, &why),
              RequestArrival::malformed);
    EXPECT_EQ(requestArrival("strixel-request 1 9999999\n", &size, &why),
              RequestArrival::malformed);
}

// Messages that must be refused whole: built by hand, and every cut and every
// single-byte change of a good message that breaks its form.
std::vector<std::string> malformedMessages() {
    auto framed = [](const std::string& body) {
        return "strixel-request 1 " + std::to_string(body.size()) + "\n" + body;
    };
    std::string longPath(kMostPathBytes + 1, 'a');
    longPath[0] = '/';
    const std::string bigScript =
        "{type:\"EAN 13\", data:\"" + std::string(kMostScriptBytes, '1') + "\", saveto:\"x.eps\"}";
    std::string manyRequests;
    for (size_t i = 0; i <= kMostRequests; ++i) manyRequests += "quit\n\n";
    std::vector<std::string> bad = {
        "",
        "strixel-request 2 5\nquit\n\n",
        "strixel-request 1 -5\nquit\n",
        "strixel-request 1 05\nquit\n\n",
        "strixel-request 1 x\n",
        "strixel-request 1 \n",
        framed(""),
        framed("quit\n"),
        framed("quit\n\nx"),
        framed("quit 1\nx\n"),
        framed("open\n/a\n"),
        framed("open 2 2\n/a/b\n"),
        framed("open 0\n\n"),
        framed("open 4\nrel/\n"),
        framed(std::string("open 4\n/a\0b\n", 11)),
        framed("open " + std::to_string(longPath.size()) + "\n" + longPath + "\n"),
        framed("open 99\n/a\n"),
        framed("open 02\n/a\n"),
        framed("open +2\n/a\n"),
        framed("open 2\n/a"),
        framed("open 2\n/ax"),
        framed("erase 2\n/a\n"),
        framed("OPEN 2\n/a\n"),
        framed("open  2\n/a\n"),
        framed("script 2 0\n/a\n"),
        framed("script 2 3\n/a{}x\n"),
        framed("script 2 5\n/a\n\n \n\n"),
        framed("script 1 14\nrel{type:\"x\"}\n\n"),
        framed("script 2 13\n/a{type:\"x\"\n\n"),
        framed("script 2 20\n/a{type:\"x\"} garbage\n"),
        framed("script 2 " + std::to_string(bigScript.size()) + "\n/a" + bigScript + "\n"),
        framed(manyRequests),
        // A good request followed by a bad one: nothing of it is taken.
        framed("quit\n\nopen 2\nab\n"),
        encodeRequests(sample()) + "x",
    };
    // Every cut of a good message ends early.
    const std::string good = encodeRequests(sample());
    for (size_t n = 1; n < good.size(); n += 3) bad.push_back(good.substr(0, n));
    return bad;
}

TEST(OutsideRequests, MalformedMessagesAreRefusedWhole) {
    const std::vector<std::string> bad = malformedMessages();
    ASSERT_GE(bad.size(), 100u);
    for (size_t i = 0; i < bad.size(); ++i) {
        std::vector<OutsideRequest> got = {{RequestKind::quit, {}, {}, {}}};
        std::string why;
        EXPECT_FALSE(decodeRequests(bad[i], &got, &why)) << "message " << i;
        EXPECT_TRUE(got.empty()) << "message " << i;
        EXPECT_FALSE(why.empty()) << "message " << i;
    }
}

struct ArgumentsTest : ::testing::Test {
    std::string dir = testsupport::freshFolder("outside-args");
    std::string file(const std::string& name, const std::string& bytes = "x") {
        std::ofstream(dir + "/" + name) << bytes;
        return dir + "/" + name;
    }
    bool parse(const std::vector<std::string>& args, std::vector<OutsideRequest>* out,
               std::string* why) {
        return parseDesktopArguments(args, dir, out, why);
    }
};

TEST_F(ArgumentsTest, DocumentsPrintAndScriptsBecomeRequests) {
    file("a.labl");
    file("b.eps");
    const std::string records = "{type:\"EAN 13\", data:\"400638133393\", saveto:\"x.eps\"}\n";
    file("run.txt", records);
    std::vector<OutsideRequest> got;
    std::string why;
    ASSERT_TRUE(parse({"a.labl", "./sub/../b.eps", "--print", "a.labl", "--script", records,
                       "--script=run.txt", "--quit"},
                      &got, &why))
        << why;
    const std::vector<OutsideRequest> want = {
        {RequestKind::open, dir + "/a.labl", {}, {}},  {RequestKind::open, dir + "/b.eps", {}, {}},
        {RequestKind::print, dir + "/a.labl", {}, {}}, {RequestKind::script, {}, dir, records},
        {RequestKind::script, {}, dir, records},       {RequestKind::quit, {}, {}, {}},
    };
    EXPECT_EQ(got, want);
    // After "--" a name that begins with '-' is a document.
    file("-odd.labl");
    ASSERT_TRUE(parse({"--", "-odd.labl"}, &got, &why)) << why;
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].path, dir + "/-odd.labl");
    ASSERT_TRUE(parse({}, &got, &why));
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(asksForUsage({"a.labl", "--help"}));
    EXPECT_TRUE(asksForUsage({"-h"}));
    EXPECT_FALSE(asksForUsage({"--", "--help"}));  // a document of that name
}

TEST_F(ArgumentsTest, WrongCommandLinesAreRefusedWithTheirReason) {
    file("a.labl");
    file("bad.txt", "{type:\"EAN 13\", data:\"1\"\n");
    fs::create_directory(dir + "/folder");
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{"missing.labl"}, "missing.labl"},
        {{"folder"}, "is not a file"},
        {{"--print"}, "--print needs a value"},
        {{"--print="}, "--print needs a value"},
        {{"--print", "missing.labl"}, "--print"},
        {{"--script"}, "--script needs a value"},
        {{"--script", "missing.txt"}, "--script"},
        {{"--script", "{type:\"EAN 13\""}, "not well formed"},
        {{"--script", "bad.txt"}, "line 1 of the script"},
        {{"--frobnicate"}, "unknown option --frobnicate"},
        {{"-x"}, "unknown option -x"},
        {{""}, "empty file name"},
    };
    for (const auto& c : cases) {
        std::vector<OutsideRequest> got;
        std::string why;
        EXPECT_FALSE(parse(c.args, &got, &why)) << c.says;
        EXPECT_NE(why.find(c.says), std::string::npos) << why;
        EXPECT_TRUE(got.empty());
    }
}

TEST_F(ArgumentsTest, AScriptFileOverTheBoundIsRefused) {
    const std::string big = file("big.txt", std::string(kMostScriptBytes + 1, ' '));
    std::string text, why;
    EXPECT_FALSE(readScriptFile(big, &text, &why));
    EXPECT_NE(why.find("longer than"), std::string::npos) << why;
    EXPECT_FALSE(readScriptFile("/dev/zero", &text, &why));  // never read without end
}

TEST(OutsideSocketFolder, OnlyAFolderOfTheUsersOwnClosedToOthers) {
    const std::string base = testsupport::freshFolder("outside-socket");
    const uid_t me = ::getuid();
    const std::string runtime = base + "/runtime";
    fs::create_directory(runtime);
    ::chmod(runtime.c_str(), 0700);
    std::string why;
    EXPECT_EQ(socketFolder(runtime.c_str(), base, me, &why), runtime);

    // A runtime folder others can enter, or none: the fallback is made closed.
    ::chmod(runtime.c_str(), 0755);
    const std::string fallback = base + "/strixel-" + std::to_string(me);
    EXPECT_EQ(socketFolder(runtime.c_str(), base, me, &why), fallback) << why;
    struct stat st {};
    ASSERT_EQ(::stat(fallback.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(socketFolder(nullptr, base, me, &why), fallback);
    EXPECT_EQ(socketFolder("relative", base, me, &why), fallback);

    // A fallback that others can enter, or a link someone left there, is refused.
    ::chmod(fallback.c_str(), 0777);
    EXPECT_EQ(socketFolder(nullptr, base, me, &why), "");
    EXPECT_NE(why.find("closed to others"), std::string::npos) << why;
    fs::remove(fallback);
    fs::create_directory_symlink(runtime, fallback);
    ::chmod(runtime.c_str(), 0700);
    EXPECT_EQ(socketFolder(nullptr, base, me, &why), "");
    // Another user's runtime folder is not ours.
    EXPECT_EQ(socketFolder(runtime.c_str(), "", me + 1, &why), "");
}

}  // namespace
