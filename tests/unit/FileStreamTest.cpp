// Files of several buffers, whose full buffers a background thread writes: the bytes must
// arrive whole and in order, positions must count what is still buffered, and a failed
// background write must reach the caller.
#include "rtl/FileStream.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <utility>

#include "rtl/Exception.h"
#include "tests/support/TempFiles.h"

using namespace mlt;

TEST(FileStream, PositionsCountWhatIsStillBuffered) {
    const std::string path = test::TempDir("filestream").string() + "/big.bin";
    std::string expected;
    {
        TFileStream file(path, TFileMode::Create);
        for (std::size_t i = 0; expected.size() < (6u << 20); ++i) {
            std::string piece((i * 7919) % 70001, static_cast<char>('a' + i % 26));
            file.Write(piece.data(), piece.size());
            expected += piece;
            if (i % 9 == 0) {
                ASSERT_EQ(file.Seek(0, TSeekOrigin::Current), static_cast<std::int64_t>(expected.size()));
            }
        }
        EXPECT_EQ(file.Size(), static_cast<std::int64_t>(expected.size()));
        file.Write("tail", 4);
        expected += "tail";
        file.Close();
    }
    EXPECT_TRUE(test::ReadAll(path) == expected);
    std::filesystem::remove(path);
}

TEST(FileStream, PiecesKeepTheirOrderBehindASlowReader) {
    // Through a pipe read slowly, the background write of a full buffer takes long: a
    // piece written meanwhile, straight or buffered, must still come after it.
    const std::string path = test::TempDir("filestream").string() + "/pipe";
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] {
        std::ifstream in(path, std::ios::binary);
        char chunk[65536];
        while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
            received.append(chunk, static_cast<std::size_t>(in.gcount()));
            std::this_thread::sleep_for(std::chrono::microseconds(300));
        }
    });
    std::string expected;
    {
        TFileStream file(path, TFileMode::Create);
        for (auto [size, fill] : {std::pair{1040000, '1'}, {10000, '2'}, {2000000, '3'}, {20000, '4'},
                                  {1040000, '5'}, {10000, '6'}, {100, '7'}}) {
            const std::string piece(static_cast<std::size_t>(size), fill);
            file.Write(piece.data(), piece.size());
            expected += piece;
        }
        file.Close();
    }
    reader.join();
    EXPECT_TRUE(received == expected);
    std::filesystem::remove(path);
}

TEST(FileStream, FailedBackgroundWriteReachesTheCaller) {
    // Every write to /dev/full fails with ENOSPC; the buffers that fill up are written in
    // the background, so the failure comes from a later Write or from Close.
    TFileStream file("/dev/full", TFileMode::Create);
    const std::string piece(4096, 'x');
    EXPECT_THROW(
        {
            for (int i = 0; i < 1024; ++i) file.Write(piece.data(), piece.size());
            file.Close();
        },
        EInOutError);
}
