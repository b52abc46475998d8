// The headless sound output: buffers come back at 88200 bytes per second of
// the virtual clock, only as its sleeps move time, and the capture writes
// every queued buffer after a canonical header.
#include "platform/headless/headless_audio.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/headless/audio_capture.h"
#include "platform/headless/virtual_clock.h"
#include "tests/support/temp_folder.h"

namespace zeku {
namespace {

// Requeues every returned buffer, filled with its pass number.
struct CountingClient final : AudioClient {
    AudioDevice* device = nullptr;
    std::vector<int> returned;
    std::vector<uint8_t> buffers[4];
    void bufferDone(int index) override {
        returned.push_back(index);
        std::fill(buffers[index].begin(), buffers[index].end(), uint8_t(returned.size()));
        device->queue(index, buffers[index].data());
    }
};

TEST(HeadlessAudio, BuffersReturnInOrderAtTheVirtualClocksByteRate) {
    VirtualClock inner(1000);
    HeadlessAudioDevice device(inner);
    AudioPumpingClock clock(inner, device);
    CountingClient client;
    client.device = &device;
    ASSERT_TRUE(device.open(client, 8820));  // 100 ms a buffer
    for (int i = 0; i < 4; ++i) {
        client.buffers[i].assign(8820, 0);
        device.queue(i, client.buffers[i].data());
    }
    device.start();
    clock.sleepMs(99);
    EXPECT_TRUE(client.returned.empty());
    EXPECT_EQ(device.positionBytes(), 99u * 22050 / 1000 * 4);
    clock.sleepMs(1);
    EXPECT_EQ(client.returned, (std::vector<int>{0}));
    clock.sleepMs(450);  // 550 ms: five buffers in all
    EXPECT_EQ(client.returned, (std::vector<int>{0, 1, 2, 3, 0}));
    EXPECT_EQ(device.positionBytes(), 550u * 22050 / 1000 * 4);  // whole frames
    inner.advance(1000);  // time that nobody slept through plays nothing yet
    EXPECT_EQ(client.returned.size(), 5u);
    device.close();
    clock.sleepMs(1000);
    EXPECT_EQ(client.returned.size(), 5u);
}

TEST(AudioCapture, EveryQueuedBufferIsWrittenAsAStereoWav) {
    VirtualClock inner(0);
    HeadlessAudioDevice headless(inner);
    AudioPumpingClock clock(inner, headless);
    CapturingAudioDevice capture(headless);
    CountingClient client;
    client.device = &capture;
    ASSERT_TRUE(capture.open(client, 400));
    for (int i = 0; i < 4; ++i) {
        client.buffers[i].assign(400, 0);
        capture.queue(i, client.buffers[i].data());
    }
    capture.start();
    clock.sleepMs(10);  // 882 bytes played: two buffers back, refilled
    ASSERT_EQ(client.returned.size(), 2u);
    capture.close();
    ASSERT_EQ(capture.pcm().size(), 6u * 400);
    EXPECT_EQ(capture.pcm()[4 * 400], 1);
    EXPECT_EQ(capture.pcm()[5 * 400 + 399], 2);

    test_support::TempFolder folder;
    const std::string path = folder.file("out.wav");
    std::string error;
    ASSERT_TRUE(writeCapturedWav(path, capture.pcm(), error)) << error;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    ASSERT_EQ(file.size(), 44u + 2400);
    const uint8_t header[] = {'R', 'I', 'F',  'F',  0x84, 0x09, 0,    0,    'W',  'A', 'V',
                              'E', 'f', 'm',  't',  ' ',  16,   0,    0,    0,    1,   0,
                              2,   0,   0x22, 0x56, 0,    0,    0x88, 0x58, 0x01, 0,   4,
                              0,   16,  0,    'd',  'a',  't',  'a',  0x60, 0x09, 0,   0};
    EXPECT_TRUE(std::equal(std::begin(header), std::end(header), file.begin()));
    EXPECT_FALSE(writeCapturedWav(folder.file("no/such/folder/out.wav"), capture.pcm(), error));
}

}  // namespace
}  // namespace zeku
