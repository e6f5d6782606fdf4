// Shared helpers for the GoogleTest suites: a COM apartment per test and small utilities.
#pragma once
#include <windows.h>
#include <objbase.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testing_support {

// Initialises a single-threaded apartment for the lifetime of the object.
class ComApartment {
 public:
  ComApartment() { hr_ = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~ComApartment() { if (SUCCEEDED(hr_)) CoUninitialize(); }
  HRESULT hr() const { return hr_; }

 private:
  HRESULT hr_;
};

// Directory of the running test executable, with a trailing backslash.
std::wstring ExeDir();

// Directory of the built components (bin/ beside tests/), with a trailing backslash.
std::wstring BinDir();

// A fresh empty directory under the temp folder, removed (with its files) on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::wstring& path() const { return path_; }  // ends with a backslash

 private:
  std::wstring path_;
};

// Pumps this thread's messages for `ms` milliseconds.
void PumpMessages(DWORD ms);

// UTF-16 to UTF-8 for readable assertion output.
std::string Utf8(const std::wstring& s);

// The pages of a Word document's text: Word shows a manual page break as character 12.
std::vector<std::wstring> Pages(const std::wstring& text);

}  // namespace testing_support
