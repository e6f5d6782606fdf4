// Early-return helpers for HRESULT-returning code.
#pragma once
#include <winerror.h>

#define RETURN_IF_FAILED(expr)                 \
  do {                                         \
    HRESULT hr_checked_ = (expr);              \
    if (FAILED(hr_checked_)) return hr_checked_; \
  } while (0)

#define RETURN_HR_IF(hr, cond) \
  do {                         \
    if (cond) return (hr);     \
  } while (0)
