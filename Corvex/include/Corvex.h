/* Corvex: finds Internet mail messages in text files and writes each one
   to a numbered .eml file. The six functions below are the library's whole
   public surface; every string is an 8-bit path in the system ANSI code page
   and every call runs to completion on the calling thread. */
#ifndef CORVEX_H
#define CORVEX_H

#include <stdint.h>

#if defined(_WIN32)
#  define CORVEX_CALL __stdcall
#  if defined(CORVEX_BUILDING)
#    define CORVEX_API __declspec(dllexport)
#  else
#    define CORVEX_API __declspec(dllimport)
#  endif
#else
#  define CORVEX_CALL
#  if defined(CORVEX_BUILDING)
#    define CORVEX_API __attribute__((visibility("default")))
#  else
#    define CORVEX_API
#  endif
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Input kinds. */
enum {
    KindGeneral = 0, /* general Internet-mail text */
    KindNifty = 1,   /* a bulk-saved @nifty web-mail file */
    KindMbox = 2     /* a UNIX mbox file */
};

/* Result codes. The library sets 0 on entry and then the first failure. */
enum {
    ResultOk = 0,
    ResultNoMessages = 1000,             /* front ends only */
    ResultInputFileNotFound = 1001,
    ResultInputFolderNotFound = 1002,    /* front ends only */
    ResultInputPathNotFound = 1003,
    ResultOutputFileNotFound = 1004,     /* never reported by the exports */
    ResultOutputFolderNotCreated = 1005,
    ResultUnknownError = 1006,           /* front ends, for codes they do not know */
    ResultFileCreateError = 1007,
    ResultOutputNameTaken = 1008,
    ResultTooManyFiles = 1009
};

/* Flags of the exports that take them (ordinals 5 and 6); a bit not listed
   here sets ResultUnknownError and the call does nothing. */
enum {
    CorvexFlagTree = 1 /* read the folder's whole tree; each mail folder's messages
                          into an output folder of its own (see the README) */
};

/* The sum of the sizes of the input files a call examined: one unsigned
   64-bit count held as two 32-bit words, low word first. */
typedef struct CorvexByteTotal {
    uint32_t low;
    uint32_t high;
} CorvexByteTotal;

/* Called once per message found, before it is written: the size of the
   input file being read and the offset where the search that found the
   message began (for a message after an mbox separator line, that line's
   offset; 0 for the first message of every file), each as an unsigned 64-bit
   value in two words, low word first: files of 4 GiB and more report their
   high words. The value returned is ignored. */
typedef int32_t(CORVEX_CALL *ProgressCallback)(uint32_t fileSizeLow, uint32_t fileSizeHigh,
                                               uint32_t offsetLow, uint32_t offsetHigh);

/* Ordinal 1: counts the messages in a file or folder (kind 0). */
CORVEX_API int32_t CORVEX_CALL InetMailMessageCountInFile(const char *inputPath,
                                                          int32_t *resultCode);
/* Ordinal 2: the same, with the byte total and a progress callback. */
CORVEX_API int32_t CORVEX_CALL InetMailMessageCountInFileEx(const char *inputPath,
                                                            CorvexByteTotal *totalBytes,
                                                            int32_t *resultCode,
                                                            ProgressCallback progress);
/* Ordinal 3: extracts every message into outputFolder as NNNNN.eml. */
CORVEX_API int32_t CORVEX_CALL Kelpo(const char *inputPath, const char *outputFolder,
                                     int32_t kind, int32_t *resultCode);
/* Ordinal 4: the full operation; a null outputFolder only counts. */
CORVEX_API int32_t CORVEX_CALL KelpoEx(const char *inputPath, const char *outputFolder,
                                       int32_t kind, CorvexByteTotal *totalBytes,
                                       int32_t *resultCode, ProgressCallback progress);

/* Ordinal 5: counts the messages in a file or folder as KelpoEx of the same
   kind would find them: the count equals the number of .eml files that
   KelpoEx with the same input and kind writes into an empty folder when
   nothing fails. flags: 0, or CorvexFlagTree to count the whole tree as
   KelpoExWithFlags reads it; any other bit sets ResultUnknownError and
   counts nothing. */
CORVEX_API int32_t CORVEX_CALL InetMailMessageCountInFileOfKind(const char *inputPath,
                                                                int32_t kind, uint32_t flags,
                                                                CorvexByteTotal *totalBytes,
                                                                int32_t *resultCode,
                                                                ProgressCallback progress);

/* Ordinal 6: KelpoEx with flags (CorvexFlagTree); any other bit sets
   ResultUnknownError and nothing is read or written. */
CORVEX_API int32_t CORVEX_CALL KelpoExWithFlags(const char *inputPath, const char *outputFolder,
                                                int32_t kind, uint32_t flags,
                                                CorvexByteTotal *totalBytes, int32_t *resultCode,
                                                ProgressCallback progress);

#ifdef __cplusplus
}
#endif

#endif
