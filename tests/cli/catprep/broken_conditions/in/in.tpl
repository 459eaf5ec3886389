// Five broken conditionals: each one is counted and the run goes on.
#define A
#if A &
and: lost
#endif
#if |
or: lost
#else
or: else kept
#endif
#if ()
parentheses: lost
#endif
#if A
if: kept
#else
else: lost
#else
second else: lost with the first
#endif
#ifdef UNDEFINED
ifdef: lost
#else
else: kept
#elif A
elif after else: kept with the else
#endif
end
