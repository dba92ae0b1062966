/* export.h - marks the symbols the Framecraft shared libraries publish. */
#ifndef FRAMECRAFT_EXPORT_H
#define FRAMECRAFT_EXPORT_H

#if defined(__GNUC__)
#define FC_API __attribute__((visibility("default")))
#else
#define FC_API
#endif

#endif
