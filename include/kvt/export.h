// KVT_EXPORT marks what the KvtSuppliers library shows to its host.
#pragma once

#if defined(_WIN32)
#if defined(KVT_BUILDING_LIBRARY)
#define KVT_EXPORT __declspec(dllexport)
#else
#define KVT_EXPORT __declspec(dllimport)
#endif
#else
#define KVT_EXPORT __attribute__((visibility("default")))
#endif
