#pragma once

// Owners for what the Windows calls hand out, so that every return path
// gives it back.

#include <QString>

#include <cstdlib>

#include <winsys.h>

// An open registry key under HKEY_LOCAL_MACHINE.
class CRegKey
{
public:
    CRegKey() = default;
    ~CRegKey()
    {
        if (m_Key)
            RegCloseKey(m_Key);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // The path goes to the 8-bit call as UTF-8.
    LONG Open(const QString& path) { return RegOpenKeyA(HKEY_LOCAL_MACHINE, path.toUtf8().constData(), &m_Key); }
    HKEY Get() const { return m_Key; }

private:
    HKEY m_Key = nullptr;
};

// A buffer from malloc that the two-call system queries (size, then data)
// fill; regrown on demand.
template <typename T> class CSystemBuffer
{
public:
    CSystemBuffer() = default;
    ~CSystemBuffer() { std::free(m_Data); }
    CSystemBuffer(const CSystemBuffer&) = delete;
    CSystemBuffer& operator=(const CSystemBuffer&) = delete;

    bool Resize(ULONG size)
    {
        std::free(m_Data);
        m_Data = static_cast<T*>(std::malloc(size));
        return m_Data != nullptr;
    }
    T* Get() const { return m_Data; }
    T* operator->() const { return m_Data; }

private:
    T* m_Data = nullptr;
};

// A buffer the network management calls allocate.
class CNetApiBuffer
{
public:
    CNetApiBuffer() = default;
    ~CNetApiBuffer()
    {
        if (m_Data)
            NetApiBufferFree(m_Data);
    }
    CNetApiBuffer(const CNetApiBuffer&) = delete;
    CNetApiBuffer& operator=(const CNetApiBuffer&) = delete;

    LPBYTE* Out() { return &m_Data; }
    LPBYTE Get() const { return m_Data; }

private:
    LPBYTE m_Data = nullptr;
};

// Memory the system allocated with LocalAlloc (FormatMessage's buffer).
class CLocalMemory
{
public:
    CLocalMemory() = default;
    ~CLocalMemory()
    {
        if (m_Data)
            LocalFree(m_Data);
    }
    CLocalMemory(const CLocalMemory&) = delete;
    CLocalMemory& operator=(const CLocalMemory&) = delete;

    LPSTR* Out() { return &m_Data; }
    LPSTR Get() const { return m_Data; }

private:
    LPSTR m_Data = nullptr;
};
