// How long parsing takes as stores grow: a synthetic listing of N loaders, all
// in the display order, each printed as bcdedit prints a Windows loader.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "core/bcd_parser.h"

namespace {

std::wstring Guid(int n) {
  wchar_t text[40];
  std::swprintf(text, 40, L"{%08x-1c2d-4e5f-8a9b-0c1d2e3f4a5b}", n);
  return text;
}

std::wstring SyntheticListing(int entries) {
  std::wstring text = L"\r\nWindows Boot Manager\r\n--------------------\r\n"
                      L"identifier              {9dea862c-5cdd-4e70-acc1-f32b344d4795}\r\n"
                      L"device                  partition=\\Device\\HarddiskVolume1\r\n"
                      L"description             Windows Boot Manager\r\n"
                      L"default                 " + Guid(0) + L"\r\n";
  for (int i = 0; i < entries; ++i) {
    text += (i == 0 ? L"displayorder            " : L"                        ") + Guid(i) + L"\r\n";
  }
  text += L"timeout                 30\r\n";
  for (int i = 0; i < entries; ++i) {
    text += L"\r\nWindows Boot Loader\r\n-------------------\r\nidentifier              " + Guid(i) +
            L"\r\ndevice                  partition=C:\r\n"
            L"path                    \\Windows\\system32\\winload.efi\r\n"
            L"description             Windows " + std::to_wstring(i) +
            L"\r\nlocale                  en-US\r\n"
            L"inherit                 {6efb52bf-1766-41db-a6b3-0ee5eff72bd7}\r\n"
            L"recoverysequence        {3c7a8b30-0b1c-11ef-9c2a-806e6f6e6963}\r\n"
            L"osdevice                partition=C:\r\n"
            L"systemroot              \\Windows\r\n"
            L"resumeobject            {3c7a8b2d-0b1c-11ef-9c2a-806e6f6e6963}\r\n"
            L"nx                      OptIn\r\n"
            L"bootmenupolicy          Standard\r\n";
  }
  return text;
}

void BM_ParseListing(benchmark::State& state) {
  const int entries = static_cast<int>(state.range(0));
  const std::wstring listing = SyntheticListing(entries);
  for (auto _ : state) {
    zel::BcdSnapshot snapshot;
    zel::ParseListing(listing, snapshot);
    if (snapshot.entries.size() != static_cast<size_t>(entries)) state.SkipWithError("wrong entry count");
    benchmark::DoNotOptimize(snapshot);
  }
  state.SetComplexityN(entries);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(listing.size() * sizeof(wchar_t)));
}
BENCHMARK(BM_ParseListing)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
