first
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
#if _TAVELLE
never
