#pragma once
// NSFileHandle: bounded reading of a file.
//
// Promises:
// - fileHandleForReadingFromURL opens without blocking (a FIFO or device opens at once; the
//   handle reports what the file is through isRegularFile) and fails with a POSIX error for a
//   file that cannot be opened.
// - readDataUpToLength reads at most length bytes (fewer at the end of the file); on a file
//   that is not a regular file it reads nothing and fails, so a reader never blocks on a pipe.

#include <Foundation/NSData.h>
#include <Foundation/NSError.h>
#include <Foundation/NSObject.h>
#include <Foundation/NSURL.h>

class FOUNDATION_EXPORT NSFileHandle : public NSObject {
public:
    static std::shared_ptr<NSFileHandle> fileHandleForReadingFromURL(const NSURL& url,
                                                                     NSError* error);
    ~NSFileHandle() override;

    bool isRegularFile() const; // stand-in extension
    NSData readDataUpToLength(NSUInteger length, NSError* error);
    NSData readDataToEndOfFile();
    bool closeAndReturnError(NSError* error);

    explicit NSFileHandle(int descriptor); // takes ownership of the descriptor

private:
    int descriptor_ = -1;
    bool regular_ = false;
};
