// replaced as the layer is built
