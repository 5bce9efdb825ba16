// A stand-in for the compiler that does nothing and ends at once.
int wmain()
{
    return 0;
}
