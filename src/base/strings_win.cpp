#include "base/strings.h"

#include "base/process.h"
#include "base/text.h"

int loadString(unsigned id, char* buffer, int size)
{
    if (size <= 0)
        return 0;
    buffer[0] = '\0';
    return LoadStringA(app.instance, id, buffer, size);
}

bool isLeadByte(unsigned char byte)
{
    return IsDBCSLeadByte(byte) != FALSE;
}
