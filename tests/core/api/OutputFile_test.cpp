#include "api/OutputFile.h"

#include "api/FileError.h"

#include "ApiTestSupport.h"

#include <cerrno>

using namespace vellumix;
using namespace vellumix::test;

// Neither a written nor a refused file leaves a temporary behind.
TEST(OutputFile, replacesAnExistingFileOnlyWhenAskedAndLeavesNoTemporary) {
    ApiFolder folder;
    OutputFile::write(folder.file("new.bin"), "fresh", false);
    EXPECT_EQ(folder.readBytes("new.bin"), "fresh");
    try {
        OutputFile::write(folder.file("new.bin"), "new", false);
        ADD_FAILURE() << "an existing file was replaced";
    } catch (const FileError& error) {
        EXPECT_EQ(error.errorNumber(), EEXIST);
        EXPECT_NE(std::string(error.what()).find("new.bin"), std::string::npos);
    }
    EXPECT_EQ(folder.readBytes("new.bin"), "fresh");
    OutputFile::write(folder.file("new.bin"), "new", true);
    EXPECT_EQ(folder.readBytes("new.bin"), "new");
    // Failed writes leave nothing behind either.
    EXPECT_THROW(OutputFile::write(folder.file("missing/out.bin"), "x", false), FileError);
    QDir(folder.file("")).mkdir("dir");
    EXPECT_THROW(OutputFile::write(folder.file("dir"), "x", true), FileError);
    EXPECT_EQ(folder.entries(), QStringList({"in.png", "new.bin"}));
}
