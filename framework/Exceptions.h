#pragma once
#include <exception>

// The errors the layer raises. They are thrown by value and caught by
// reference; the window procedure catches whatever a handler lets escape.
class CException : public std::exception
{
public:
    const char* what() const noexcept override { return "framework exception"; }
};

// An index or argument outside what a call accepts.
class CInvalidArgException : public CException
{
public:
    const char* what() const noexcept override { return "invalid argument"; }
};

// An allocation that failed.
class CMemoryException : public CException
{
public:
    const char* what() const noexcept override { return "out of memory"; }
};

[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowMemoryException();
