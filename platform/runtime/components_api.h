// components_api.h - marks the C++ API that libframecraft-components.so
// publishes.
//
// The libraries are compiled with hidden visibility, so a class, function or
// variable is reachable from programs that link the library only when its
// declaration carries FC_COMPONENTS_API:
//
//   class FC_COMPONENTS_API TFCResize : public TFCCommonROISizeFilter { ... };
//   FC_COMPONENTS_API const TEnumInfo& MirrorTypeInfo();
//
// Mark every class, class template and free function declared in a public
// header (the framework, the package and the components); marking a class
// publishes its members, virtual table and type information, which
// exceptions and dynamic_cast across the library boundary need. Routines
// that live only in a source file stay unmarked and hidden. The C primitives
// use FC_API (dispatch/export.h) instead.
#pragma once

#if defined(__GNUC__)
#define FC_COMPONENTS_API __attribute__((visibility("default")))
#else
#define FC_COMPONENTS_API
#endif
