#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
inside
#endif
#endif
#endif
#endif
#endif
#endif
#endif
#endif
#endif
