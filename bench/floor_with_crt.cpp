// The floor launcher's own code behind the C runtime's start-up and exit, as
// launcher.exe has them: the difference to the floor is what the runtime
// costs a launcher, apart from anything the launcher itself does.
extern "C" __attribute__((noreturn)) void FloorStart();

int main()
{
    FloorStart();
}
