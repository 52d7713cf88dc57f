#pragma once

// Owning (or borrowing) pointer holder for single objects and arrays.

template <class T>
class ptr_t
{
public:
    ptr_t(T* p = nullptr, bool isArray = false, bool owns = true)
        : m_IsArray(isArray), m_Owns(owns), m_Ptr(p)
    {
    }
    virtual ~ptr_t() { reset(); }

    ptr_t(const ptr_t&) = delete;
    ptr_t& operator=(const ptr_t&) = delete;

    T* operator->() const { return m_Ptr; }
    T& operator*() const { return *m_Ptr; }
    T* get() const { return m_Ptr; }
    bool isArray() const { return m_IsArray; }
    bool owns() const { return m_Owns; }
    explicit operator bool() const { return m_Ptr != nullptr; }

    // Gives up ownership and returns the pointer.
    T* release()
    {
        T* p = m_Ptr;
        m_Ptr = nullptr;
        return p;
    }

    void reset(T* p = nullptr, bool isArray = false, bool owns = true)
    {
        if (m_Owns && m_Ptr != p) {
            if (m_IsArray)
                delete[] m_Ptr;
            else
                delete m_Ptr;
        }
        m_Ptr = p;
        m_IsArray = isArray;
        m_Owns = owns;
    }

private:
    bool m_IsArray;
    bool m_Owns;
    T* m_Ptr;
};
