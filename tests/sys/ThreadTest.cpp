#include "sys/Thread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "tests/LogCapture.h"

namespace {

void Start(Utils::Thread& thread) {
    ASSERT_NE(thread.Handle(), nullptr);
    ResumeThread(thread.Handle());
}

// Records the names raised for a debugger (seen before the wrapper's own handler).
struct NameRecorder {
    NameRecorder() { handle = AddVectoredExceptionHandler(1, &NameRecorder::Handler); }
    ~NameRecorder() { RemoveVectoredExceptionHandler(handle); }
    static LONG CALLBACK Handler(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD* r = info->ExceptionRecord;
        if (r->ExceptionCode == 0x406D1388 && r->NumberParameters == 4 &&
            r->ExceptionInformation[0] == 0x1000) {
            std::lock_guard<std::mutex> guard(Lock());
            Names().emplace_back(reinterpret_cast<const char*>(r->ExceptionInformation[1]));
            Ids().push_back(static_cast<DWORD>(r->ExceptionInformation[2]));
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
    static std::mutex& Lock() { static std::mutex m; return m; }
    static std::vector<std::string>& Names() { static std::vector<std::string> v; return v; }
    static std::vector<DWORD>& Ids() { static std::vector<DWORD> v; return v; }
    void* handle;
};

TEST(ThreadTest, RunsCallableWithArgumentBetweenBeginAndEndLines) {
    LogCapture capture;
    int owner = 0;
    void* seen = nullptr;
    DWORD bodyThread = 0;
    {
        Utils::Thread thread(&owner, L"ABDEF", [&](void* arg) {
            seen = arg;
            bodyThread = GetCurrentThreadId();
            DEBUG_LOG_AS(L"Body", L"working\r\n");
        });
        EXPECT_EQ(seen, nullptr);  // created suspended
        Start(thread);
    }  // the destructor waits
    EXPECT_EQ(seen, &owner);
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(LogCapture::Message(lines[0]), L"THREAD BEGIN\r\n");
    EXPECT_EQ(LogCapture::Message(lines[1]), L"working\r\n");
    EXPECT_EQ(LogCapture::Message(lines[2]), L"THREAD END\r\n");
    wchar_t tid[24];
    swprintf(tid, 24, L"<T%05lu>", bodyThread);
    for (const auto& line : lines) EXPECT_NE(line.find(tid), std::wstring::npos);
    EXPECT_NE(lines[0].find(L"(Utils::Thread::CallBack)"), std::wstring::npos);
    EXPECT_NE(lines[2].find(L"(Utils::Thread::CallBack)"), std::wstring::npos);
}

DWORD WINAPI DeleteThreadObject(void* holder) {
    static_cast<std::unique_ptr<Utils::Thread>*>(holder)->reset();
    return 0;
}

TEST(ThreadTest, DeleteWaitsForRunningBody) {
    LogCapture capture;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> finished{false};
    auto thread = std::make_unique<Utils::Thread>(nullptr, L"ABDEF", [&](void*) {
        WaitForSingleObject(release, INFINITE);
        Sleep(50);
        finished = true;
    });
    Start(*thread);
    HANDLE deleter = CreateThread(nullptr, 0, &DeleteThreadObject, &thread, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(deleter, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(deleter, 10000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(finished);
    const auto lines = capture.LinesTagged(L"Utils::Thread::CallBack");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(LogCapture::Message(lines[1]), L"THREAD END\r\n");
    CloseHandle(deleter);
    CloseHandle(release);
}

TEST(ThreadTest, JoinTwiceAndDeleteAfterJoin) {
    std::atomic<int> runs{0};
    Utils::Thread thread(nullptr, L"ABDEF", [&](void*) { ++runs; });
    Start(thread);
    thread.Join();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(thread.Handle(), nullptr);
    EXPECT_EQ(thread.Id(), 0xFFFFFFFFu);
    thread.Join();  // nothing left to wait for
    EXPECT_EQ(thread.Id(), 0xFFFFFFFFu);
}

TEST(ThreadTest, PublishesNameOrTPlusIdToDebugger) {
    NameRecorder recorder;
    {
        std::lock_guard<std::mutex> guard(NameRecorder::Lock());
        NameRecorder::Names().clear();
        NameRecorder::Ids().clear();
    }
    Utils::Thread named(nullptr, L"UnInstaller", [](void*) {});
    Utils::Thread unnamed(nullptr, L"", [](void*) {});
    const DWORD namedId = named.Id(), unnamedId = unnamed.Id();
    Start(named);
    Start(unnamed);
    std::lock_guard<std::mutex> guard(NameRecorder::Lock());
    ASSERT_EQ(NameRecorder::Names().size(), 2u);
    EXPECT_EQ(NameRecorder::Names()[0], "UnInstaller");
    EXPECT_EQ(NameRecorder::Ids()[0], namedId);
    EXPECT_EQ(NameRecorder::Names()[1], "t" + std::to_string(unnamedId));
    EXPECT_EQ(NameRecorder::Ids()[1], unnamedId);
}

TEST(ThreadTest, OwnerSequenceReplacesFinishedThread) {
    // The owner pattern: join and delete the previous thread, create, store, resume.
    struct Owner {
        std::unique_ptr<Utils::Thread> thread;
        std::atomic<int> runs{0};
        void Run() {
            Utils::StartOwnedThread(thread, this, L"ABDEF",
                                    [](void* self) { ++static_cast<Owner*>(self)->runs; });
        }
    } owner;
    owner.Run();
    owner.Run();
    owner.Run();
    owner.thread.reset();
    EXPECT_EQ(owner.runs, 3);
}

}  // namespace
