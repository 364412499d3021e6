// Value operations of the numeric and date types on the plain paths (no
// mask, no scale), each next to the standard library doing the same job on
// the same numbers: std::to_chars for text out, std::from_chars for text in.

#include <benchmark/benchmark.h>

#include <charconv>
#include <random>
#include <string>
#include <vector>

#include "dataframework/types/DataType.h"
#include "platform/DateTime.h"
#include "platform/FormatSettings.h"
#include "platform/NumberText.h"

namespace df = dataframework;

namespace {

constexpr size_t kCount = 1024;

const platform::TFormatSettings& BenchLocale() {
  static const platform::TFormatSettings settings = [] {
    platform::TFormatSettings s;
    s.DecimalSeparator = '.';
    s.ThousandSeparator = ',';
    s.DateSeparator = '-';
    s.ShortDateFormat = "yyyy/mm/dd";
    return s;
  }();
  return settings;
}

std::vector<double> Doubles() {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> dist(-1e6, 1e6);
  std::vector<double> v(kCount);
  for (double& x : v) x = std::round(dist(random) * 100) / 100;  // two decimals, like amounts
  return v;
}

std::vector<int32_t> Integers() {
  std::mt19937 random(42);
  std::vector<int32_t> v(kCount);
  for (int32_t& x : v) x = static_cast<int32_t>(random() % 2000000) - 1000000;
  return v;
}

template <typename T>
std::vector<std::string> Texts(const std::vector<T>& numbers) {
  std::vector<std::string> texts;
  for (T x : numbers) {
    char buffer[64];
    texts.emplace_back(buffer, std::to_chars(buffer, buffer + sizeof(buffer), x).ptr);
  }
  return texts;
}

template <typename Make>
std::vector<df::TValue> Values(size_t n, Make make) {
  std::vector<df::TValue> values;
  for (size_t i = 0; i < n; ++i) values.push_back(make(i));
  return values;
}

// ---- standard library references

void BM_Std_DoubleToChars(benchmark::State& state) {
  const auto numbers = Doubles();
  char buffer[64];
  size_t i = 0;
  for (auto _ : state) {
    auto r = std::to_chars(buffer, buffer + sizeof(buffer), numbers[i++ % kCount]);
    std::string text(buffer, r.ptr);  // a text result, like the types give
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_Std_DoubleToChars);

void BM_Std_DoubleFromChars(benchmark::State& state) {
  const auto texts = Texts(Doubles());
  size_t i = 0;
  for (auto _ : state) {
    const std::string& t = texts[i++ % kCount];
    double x = 0;
    std::from_chars(t.data(), t.data() + t.size(), x);
    benchmark::DoNotOptimize(x);
  }
}
BENCHMARK(BM_Std_DoubleFromChars);

void BM_Std_IntToChars(benchmark::State& state) {
  const auto numbers = Integers();
  char buffer[16];
  size_t i = 0;
  for (auto _ : state) {
    auto r = std::to_chars(buffer, buffer + sizeof(buffer), numbers[i++ % kCount]);
    std::string text(buffer, r.ptr);
    benchmark::DoNotOptimize(text);
  }
}
BENCHMARK(BM_Std_IntToChars);

void BM_Std_IntFromChars(benchmark::State& state) {
  const auto texts = Texts(Integers());
  size_t i = 0;
  for (auto _ : state) {
    const std::string& t = texts[i++ % kCount];
    int32_t x = 0;
    std::from_chars(t.data(), t.data() + t.size(), x);
    benchmark::DoNotOptimize(x);
  }
}
BENCHMARK(BM_Std_IntFromChars);

void BM_Std_DoubleCompare(benchmark::State& state) {
  const auto numbers = Doubles();
  size_t i = 0;
  for (auto _ : state) {
    const double a = numbers[i % kCount], b = numbers[(i + 1) % kCount];
    ++i;
    benchmark::DoNotOptimize((a > b) - (a < b));
  }
}
BENCHMARK(BM_Std_DoubleCompare);

// ---- the platform's number text, which the types build on

void BM_Platform_FloatToStr(benchmark::State& state) {
  platform::TFormatSettingsScope locale(BenchLocale());
  const auto numbers = Doubles();
  size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(platform::FloatToStr(numbers[i++ % kCount]));
}
BENCHMARK(BM_Platform_FloatToStr);

void BM_Platform_TryStrToFloat(benchmark::State& state) {
  platform::TFormatSettingsScope locale(BenchLocale());
  const auto texts = Texts(Doubles());
  size_t i = 0;
  for (auto _ : state) {
    double x = 0;
    benchmark::DoNotOptimize(platform::TryStrToFloat(texts[i++ % kCount], x));
    benchmark::DoNotOptimize(x);
  }
}
BENCHMARK(BM_Platform_TryStrToFloat);

// ---- data types

void BM_Type_Compare(benchmark::State& state, const df::TDataType* type) {
  const auto numbers = Doubles();
  const auto values = Values(kCount, [&](size_t i) {
    df::TValue v;
    type->ConvertValue(df::DoubleValue(numbers[i]), v);
    return v;
  });
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(type->Compare(values[i % kCount], values[(i + 1) % kCount]));
    ++i;
  }
}
BENCHMARK_CAPTURE(BM_Type_Compare, Integer, df::IntegerType());
BENCHMARK_CAPTURE(BM_Type_Compare, Double, df::DoubleType());
BENCHMARK_CAPTURE(BM_Type_Compare, Currency, df::CurrencyType());
BENCHMARK_CAPTURE(BM_Type_Compare, DateTime, df::DateTimeType());

void BM_Type_ConvertValue(benchmark::State& state, const df::TDataType* from,
                          const df::TDataType* to) {
  const auto integers = Integers();
  const auto values = Values(kCount, [&](size_t i) {
    df::TValue v;
    from->ConvertValue(df::IntegerValue(integers[i] % 50000), v);
    return v;
  });
  df::TValue r;
  size_t i = 0;
  for (auto _ : state) {
    to->ConvertValue(values[i++ % kCount], r);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK_CAPTURE(BM_Type_ConvertValue, IntegerToDouble, df::IntegerType(), df::DoubleType());
BENCHMARK_CAPTURE(BM_Type_ConvertValue, DoubleToCurrency, df::DoubleType(), df::CurrencyType());
BENCHMARK_CAPTURE(BM_Type_ConvertValue, DateTimeToDate, df::DateTimeType(), df::DateType());

void BM_Type_FormatValue(benchmark::State& state, const df::TDataType* type) {
  platform::TFormatSettingsScope locale(BenchLocale());
  const auto numbers = Doubles();
  const auto values = Values(kCount, [&](size_t i) {
    df::TValue v;
    type->ConvertValue(
        df::DoubleValue(type == df::DateType() ? std::fabs(numbers[i]) / 100 : numbers[i]), v);
    return v;
  });
  const df::TValueFormat format;  // no mask, scale 1
  df::TValue r;
  size_t i = 0;
  for (auto _ : state) {
    type->FormatValue(values[i++ % kCount], format, r);
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK_CAPTURE(BM_Type_FormatValue, Integer, df::IntegerType());
BENCHMARK_CAPTURE(BM_Type_FormatValue, Double, df::DoubleType());
BENCHMARK_CAPTURE(BM_Type_FormatValue, Currency, df::CurrencyType());
BENCHMARK_CAPTURE(BM_Type_FormatValue, Date, df::DateType());

void BM_Type_ParseValue(benchmark::State& state, const df::TDataType* type, bool whole) {
  platform::TFormatSettingsScope locale(BenchLocale());
  const auto texts = whole ? Texts(Integers()) : Texts(Doubles());
  const df::TValueFormat format;  // scale 1, no input decimals
  df::TValue r;
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(type->ParseValue(texts[i++ % kCount], r, format));
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK_CAPTURE(BM_Type_ParseValue, Integer, df::IntegerType(), true);
BENCHMARK_CAPTURE(BM_Type_ParseValue, Double, df::DoubleType(), false);
BENCHMARK_CAPTURE(BM_Type_ParseValue, Currency, df::CurrencyType(), false);

void BM_Type_ParseDate(benchmark::State& state) {
  platform::TFormatSettingsScope locale(BenchLocale());
  std::vector<std::string> texts;
  for (size_t i = 0; i < kCount; ++i)
    texts.push_back(std::to_string(1950 + i % 80) + "-" + std::to_string(1 + i % 12) + "-" +
                    std::to_string(1 + i % 28));
  df::TValue r;
  size_t i = 0;
  for (auto _ : state) {
    df::DateType()->ParseValue(texts[i++ % kCount], r, df::TValueFormat{});
    benchmark::DoNotOptimize(r);
  }
}
BENCHMARK(BM_Type_ParseDate);

}  // namespace

BENCHMARK_MAIN();
