// Does nothing, through the C runtime's start-up and msvcrt.dll, with no
// piece of the C++ library linked in.
int main()
{
    return 7;
}
