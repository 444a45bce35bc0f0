#include <cstdio>

#include <sedimentation/sedimentation.hpp>

int main()
{
	const auto vs = static_cast<float>(sedimentation_velocity(100.0F, 1.0F));
	std::printf(
		"%.4f %.4f %.4f\n", static_cast<double>(best_number), static_cast<double>(reynolds_number),
		static_cast<double>(vs));
	return 0;
}
