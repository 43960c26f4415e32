// The network layer over TCP on 127.0.0.1 against a plain TCP connection,
// with messages of the same sizes: the round trip host -> client -> host,
// and the rate of messages from host to client (in batches of up to 64 KiB,
// each plain message behind a 4-byte length as the layer's has its head).
// BM_RoundTripRatio times both round trips in the same iterations and
// reports ratio = layer / plain against its goal.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/NetFraming.h"
#include "platform/Network.h"
#include "platform/TcpClient.h"

namespace {

using namespace platform::net;

constexpr size_t kBatchBytes = 64 * 1024;
constexpr int kPlainWaitMs = 5000;
constexpr int kWaitLimit = 10'000'000; // receive attempts before a run counts as stuck

size_t BatchCount(size_t size) {
    return std::max<size_t>(1, kBatchBytes / (size + wire::kHeadSize));
}

struct LayerPair {
    std::unique_ptr<Network> host;
    std::unique_ptr<Network> client;
};

// A host and one joined client; no flood limit, so that the rate is the
// layer's own.
bool MakeLayerPair(LayerPair& pair) {
    NetConfig config;
    config.port = 0;
    config.bindAddress = "127.0.0.1";
    config.floodMessages = 0;
    config.floodBytes = 0;
    pair.host = CreateTcpNetwork(config);
    pair.client = CreateTcpNetwork(config);
    if (!pair.host->Host(SessionDesc{}, "host"))
        return false;
    std::atomic<bool> done{false};
    std::thread pump([&] {
        for (int i = 0; i < 5000 && !done; ++i) {
            pair.host->Pump();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const JoinResult joined =
        pair.client->Join("127.0.0.1:" + std::to_string(pair.host->Port()), 0, "client");
    done = true;
    pump.join();
    Message created;
    pair.host->Receive(created);
    return joined == JoinResult::Joined;
}

// Waits for the next message on to, keeping from's queue moving.
bool ReceiveData(Network& to, Network& from, Message& message) {
    for (int i = 0; i < kWaitLimit; ++i) {
        if (to.Receive(message))
            return message.kind == MessageKind::Data;
        from.Pump();
    }
    return false;
}

// One message host -> client -> host through the layer.
bool LayerRoundTrip(LayerPair& pair, const std::vector<uint8_t>& bytes, Message& message,
                    const char*& failure) {
    pair.host->Send(bytes.data(), bytes.size());
    if (!ReceiveData(*pair.client, *pair.host, message)) {
        failure = "lost at the client";
        return false;
    }
    pair.client->Send(message.data.data(), message.data.size());
    if (!ReceiveData(*pair.host, *pair.client, message)) {
        failure = "lost at the host";
        return false;
    }
    return true;
}

void BM_LayerRoundTrip(benchmark::State& state) {
    LayerPair pair;
    if (!MakeLayerPair(pair)) {
        state.SkipWithError("no session");
        return;
    }
    const std::vector<uint8_t> bytes(static_cast<size_t>(state.range(0)), 0x5A);
    Message message;
    const char* failure = nullptr;
    for (auto _ : state) {
        if (!LayerRoundTrip(pair, bytes, message, failure)) {
            state.SkipWithError(failure);
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * 2 * state.range(0));
}

// Two ends of a plain TCP connection over 127.0.0.1.
bool ConnectPlainPair(platform::TcpConnection& a, platform::TcpConnection& b) {
    platform::TcpListener listener;
    if (!listener.Listen("127.0.0.1", 0) || !a.Connect("127.0.0.1", listener.Port(), 1000))
        return false;
    b = listener.Accept(1000);
    return b.IsOpen();
}

// The same bytes a -> b -> a over plain TCP.
bool PlainRoundTrip(platform::TcpConnection& a, platform::TcpConnection& b,
                    std::vector<uint8_t>& bytes, std::vector<uint8_t>& echo) {
    return a.SendAll(bytes.data(), bytes.size(), kPlainWaitMs) &&
           b.ReceiveExact(echo.data(), echo.size(), kPlainWaitMs) &&
           b.SendAll(echo.data(), echo.size(), kPlainWaitMs) &&
           a.ReceiveExact(bytes.data(), bytes.size(), kPlainWaitMs);
}

void BM_PlainRoundTrip(benchmark::State& state) {
    platform::TcpConnection a;
    platform::TcpConnection b;
    if (!ConnectPlainPair(a, b)) {
        state.SkipWithError("no connection");
        return;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(state.range(0)), 0x5A);
    std::vector<uint8_t> echo(bytes.size());
    for (auto _ : state) {
        if (!PlainRoundTrip(a, b, bytes, echo)) {
            state.SkipWithError("echo failed");
            return;
        }
    }
    state.SetBytesProcessed(state.iterations() * 2 * state.range(0));
}

// Both round trips in each iteration, one after the other: ratio = layer
// time / plain time, against its goal (1.3 for small messages, 1.5 for the
// largest).
void BM_RoundTripRatio(benchmark::State& state) {
    LayerPair pair;
    platform::TcpConnection a;
    platform::TcpConnection b;
    if (!MakeLayerPair(pair) || !ConnectPlainPair(a, b)) {
        state.SkipWithError("no session or no connection");
        return;
    }
    const size_t size = static_cast<size_t>(state.range(0));
    const std::vector<uint8_t> bytes(size, 0x5A);
    std::vector<uint8_t> plain(size, 0x5A);
    std::vector<uint8_t> echo(size);
    Message message;
    const char* failure = nullptr;
    using Clock = std::chrono::steady_clock;
    double layer = 0.0;
    double direct = 0.0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (!LayerRoundTrip(pair, bytes, message, failure)) {
            state.SkipWithError(failure);
            return;
        }
        const auto t1 = Clock::now();
        if (!PlainRoundTrip(a, b, plain, echo)) {
            state.SkipWithError("echo failed");
            return;
        }
        const auto t2 = Clock::now();
        layer += std::chrono::duration<double>(t1 - t0).count();
        direct += std::chrono::duration<double>(t2 - t1).count();
    }
    const double goal = size >= 60000 ? 1.5 : 1.3;
    const double ratio = direct > 0.0 ? layer / direct : 0.0;
    state.counters["ratio"] = ratio;
    state.counters["goal"] = goal;
    state.SetLabel(ratio <= goal ? "round trip within its goal"
                                 : "round trip slower than its goal");
}

void BM_LayerHostToClient(benchmark::State& state) {
    LayerPair pair;
    if (!MakeLayerPair(pair)) {
        state.SkipWithError("no session");
        return;
    }
    const std::vector<uint8_t> bytes(static_cast<size_t>(state.range(0)), 0x5A);
    const size_t batch = BatchCount(bytes.size());
    Message message;
    for (auto _ : state) {
        for (size_t i = 0; i < batch; ++i)
            pair.host->Send(bytes.data(), bytes.size());
        for (size_t i = 0; i < batch; ++i) {
            if (!ReceiveData(*pair.client, *pair.host, message)) {
                state.SkipWithError("lost at the client");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(batch));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(batch) * state.range(0));
}

void BM_PlainHostToClient(benchmark::State& state) {
    platform::TcpConnection a;
    platform::TcpConnection b;
    if (!ConnectPlainPair(a, b)) {
        state.SkipWithError("no connection");
        return;
    }
    const size_t size = static_cast<size_t>(state.range(0));
    const size_t batch = BatchCount(size);
    std::vector<uint8_t> framed(4 + size, 0x5A);
    const uint32_t length = static_cast<uint32_t>(size);
    std::memcpy(framed.data(), &length, 4);
    std::vector<uint8_t> received(size);
    for (auto _ : state) {
        for (size_t i = 0; i < batch; ++i)
            if (!a.SendAll(framed.data(), framed.size(), kPlainWaitMs)) {
                state.SkipWithError("send failed");
                return;
            }
        for (size_t i = 0; i < batch; ++i) {
            uint32_t got = 0;
            if (!b.ReceiveExact(&got, 4, kPlainWaitMs) || got != length ||
                !b.ReceiveExact(received.data(), got, kPlainWaitMs)) {
                state.SkipWithError("receive failed");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(batch));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(batch) * state.range(0));
}

void Sizes(benchmark::internal::Benchmark* b) {
    for (int size : {16, 256, 4096, 60000})
        b->Arg(size);
}

BENCHMARK(BM_LayerRoundTrip)->Apply(Sizes);
BENCHMARK(BM_PlainRoundTrip)->Apply(Sizes);
BENCHMARK(BM_RoundTripRatio)->Apply(Sizes);
BENCHMARK(BM_LayerHostToClient)->Apply(Sizes);
BENCHMARK(BM_PlainHostToClient)->Apply(Sizes);

} // namespace
