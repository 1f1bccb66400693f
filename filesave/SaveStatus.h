#pragma once

enum class WriteStatus {
    Ok,
    CannotCreate, // the file (or its temporary) could not be created
    WriteFailed,  // a write, flush, close or the final rename failed, or the
                  // file exists and this user may not write it
};
