#pragma once

#include <clocale>
#include <string>

/// Switches the C library's numeric locale for as long as it lives, so that
/// readers are tried under a decimal comma whatever locale the suite runs in.
/// scripts/install-deps generates de_DE.UTF-8.
class NumericLocale
{
public:
  explicit NumericLocale(const char* name)
    : m_previous(std::setlocale(LC_NUMERIC, nullptr))
    , m_active(std::setlocale(LC_NUMERIC, name) != nullptr)
  {
  }
  ~NumericLocale() { std::setlocale(LC_NUMERIC, m_previous.c_str()); }
  NumericLocale(const NumericLocale&) = delete;
  NumericLocale& operator=(const NumericLocale&) = delete;

  /// False when the locale does not exist on this machine.
  bool IsActive() const { return m_active; }

private:
  std::string m_previous;
  bool m_active;
};

/// The locale whose decimal separator is a comma.
constexpr const char* GermanLocale = "de_DE.UTF-8";
