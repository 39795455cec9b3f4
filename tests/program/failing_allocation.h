// Makes the next non-throwing allocations fail, to exercise the program's out-of-memory paths
// (the program allocates its Application and its Box with new (std::nothrow)).
#ifndef OSTREL_TESTS_PROGRAM_FAILING_ALLOCATION_H
#define OSTREL_TESTS_PROGRAM_FAILING_ALLOCATION_H

struct FailingAllocation {
    static bool failNothrowNew;
};

class NothrowNewFails {
public:
    NothrowNewFails() { FailingAllocation::failNothrowNew = true; }
    ~NothrowNewFails() { FailingAllocation::failNothrowNew = false; }
};

#endif
