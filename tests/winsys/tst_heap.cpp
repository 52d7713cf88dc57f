// HeapCompact on the process heap hands freed memory back to the system.
#include <winsys.h>

#include <QFile>
#include <QtTest>

#include <cstring>
#include <memory>
#include <vector>

#include <unistd.h>

#ifndef __has_feature
#define __has_feature(x) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
constexpr bool kSanitized = true; // its allocator keeps freed memory in quarantine
#else
constexpr bool kSanitized = false;
#endif

namespace {

long ResidentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

class TestHeap : public QObject
{
    Q_OBJECT

private slots:
        void compactGivesFreedMemoryBack()
    {
        if (kSanitized)
            QSKIP("AddressSanitizer's allocator holds freed memory back on purpose");

        // Many small blocks, as a text document's are, and one still in use
        // above them: freeing the others leaves their pages with the
        // allocator until the heap is compacted.
        std::vector<std::unique_ptr<char[]>> blocks;
        for (int i = 0; i < 200000; ++i) {
            blocks.emplace_back(new char[200]);
            std::memset(blocks.back().get(), 1, 200);
        }
        const std::unique_ptr<char[]> pin(new char[200]);
        blocks.clear();
        const long before = ResidentKb();
        SetLastError(ERROR_INVALID_DATA);
        HeapCompact(GetProcessHeap(), 0);
        QCOMPARE(GetLastError(), DWORD(NO_ERROR));
        const long after = ResidentKb();
        QVERIFY2(before - after > 20 * 1024, qPrintable(QStringLiteral("%1 kB -> %2 kB").arg(before).arg(after)));
    }

    void otherHeapsAreRefused()
    {
        int notAHeap = 0;
        QCOMPARE(HeapCompact(&notAHeap, 0), SIZE_T(0));
        QCOMPARE(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    }
};

QTEST_GUILESS_MAIN(TestHeap)
#include "tst_heap.moc"
