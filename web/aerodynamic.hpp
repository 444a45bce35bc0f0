#ifndef ABSINK_WEB_AERODYNAMIC_HPP
#define ABSINK_WEB_AERODYNAMIC_HPP

/*
 * The particle's aerodynamic diameter and TA Luft's size class as the web
 * page gives them: the library's (sedimentation/inverse.hpp, size_class.cpp),
 * printed as the report prints its values, with the page's words for them.
 */
#include <cmath>

#include "app/report.hpp"
#include "sedimentation/inverse.hpp"

struct aerodynamic {
	twin found{NAN, twin_status::outside_domain};
	char printed[48] = "";   /* to four places; empty where there is none */
	char twin_vs[48] = "";   /* the model's vs of the printed twin, to four places */
	int size_class = 0;      /* 1 to 4; 0 where none follows */
	char text[200] = "";     /* the class with its limits and source, and PM10 and PM2.5 */
	char reason[200] = "";   /* why there is no da */
	char sentence[480] = ""; /* the page's line on it: da and its class, or the reason */
};

aerodynamic aerodynamic_of(const report_outcome &o);

/* ,"aerodynamic":{...} */
void put_aerodynamic(const aerodynamic &a);

/* The record's steps for it, after the computation's. */
void put_aerodynamic_steps(const report_outcome &o, const aerodynamic &a);

/* The limits of TA Luft's class as the sentences name them: "unter
 * 2.5 µm", "2.5 bis unter 10 µm", "10 bis 50 µm", "über 50 µm". */
void class_limits(int size_class, char (&text)[64]);

/* ,"classes":"TA Luft's classes for the record","classSource":"..." */
void put_classes();

#endif
