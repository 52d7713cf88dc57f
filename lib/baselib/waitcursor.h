#pragma once

// Wait cursor for the lifetime of the object; harmless without a GUI.
class CWaitCursor
{
public:
    CWaitCursor();
    ~CWaitCursor();

    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    bool m_Active;
};
