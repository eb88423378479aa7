#include "TestLog.h"

#include "ProgramDirectory.h"

TestLog::TestLog()
{
    toolkit::ProgramDirectory::setOverride(dir());
}

TestLog::~TestLog()
{
    toolkit::ProgramDirectory::setOverride(QString());
}
