# Prints an R-AXIS image as fabio reads it: "height width", then one intensity per line.
import sys

import fabio.raxisimage

image = fabio.raxisimage.RaxisImage().read(sys.argv[1])
data = image.data
print(data.shape[0], data.shape[1])
print("\n".join(str(int(v)) for v in data.ravel()))
